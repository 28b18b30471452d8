#pragma once
// A card folder with the camera's two settings files and a recording, and a
// formatter that "formats" by emptying the folder, for the format tests.
#include "config/CardFormatter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>

inline QByteArray settingsBytes()
{
    QByteArray b(34, '\0');
    for (int i = 0; i < 34; ++i)
        b[i] = char(0xA0 + i); // no default record: the restore must bring these back
    b[31] = 1;
    return b;
}
inline QByteArray timeBytes()
{
    QByteArray b(29, '\x07');
    b[28] = 14;
    return b;
}

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}
inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Every file below root, relative, sorted.
inline QStringList filesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

struct CardFolder {
    QTemporaryDir dir;
    QString root() const { return dir.path() + QStringLiteral("/CARD/"); }
    // withTimeFile: the camera has not written its clock file yet when false.
    void make(bool withTimeFile = true)
    {
        writeFile(root() + "__system_ini.cfg", settingsBytes());
        if (withTimeFile)
            writeFile(root() + "__time_ini.cfg", timeBytes());
        writeFile(root() + "INFINITE/0315/20120315_142501_I01.mp4", QByteArray(4096, 'x'));
        writeFile(root() + "EVENT/.hidden", QByteArray(10, 'e'));
    }
};

class FakeCardFormatter : public CardFormatter {
public:
    QMutex lock;
    FormatTarget target{QStringLiteral("/dev/sdb1"), QStringLiteral("CARD"), 8000000000ull, QStringLiteral("sdb1")};
    QString refusal;         // non-empty: Identify refuses with it
    bool changeAfterFirstIdentify = false;
    Outcome outcome = Outcome::Done;
    QString cardRoot;        // emptied by a format
    QString mountAt;         // where the card comes back; empty: never
    int identifies = 0;
    int formats = 0;

    std::optional<FormatTarget> Identify(const QString& root, QString* why) override
    {
        QMutexLocker l(&lock);
        ++identifies;
        if (!refusal.isEmpty()) {
            *why = refusal;
            return std::nullopt;
        }
        if (changeAfterFirstIdentify && identifies > 1) {
            FormatTarget other = target;
            other.size += 1;
            return other;
        }
        return target;
    }
    Result Format(const FormatTarget&) override
    {
        QMutexLocker l(&lock);
        ++formats;
        if (outcome == Outcome::Done) {
            QDir(cardRoot).removeRecursively();
            if (!mountAt.isEmpty())
                QDir().mkpath(mountAt);
        }
        return {outcome, outcome == Outcome::Failed ? QStringLiteral("device busy") : QString()};
    }
    QString WaitForMount(const FormatTarget&, int, QString* why) override
    {
        QMutexLocker l(&lock);
        if (mountAt.isEmpty())
            *why = QStringLiteral("not mounted in time");
        return mountAt;
    }
};
