#pragma once
// A card folder for tests: category folders, subfolders and sparse files of a
// chosen size, in a temporary folder that goes away with the object.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class CardTree {
public:
    QTemporaryDir dir;

    // Root with a trailing "/", as a drive root is written.
    QString root() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString& relative) const { return root() + relative; }

    bool mkdir(const QString& relative) const { return QDir().mkpath(path(relative)); }
    // A file of that many bytes (sparse), with its folders.
    bool file(const QString& relative, qint64 size = 2048) const
    {
        const QString p = path(relative);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        return f.open(QIODevice::WriteOnly) && f.resize(size);
    }
    // INFINITE and EVENT: what makes a folder a card.
    void makeCard() const
    {
        mkdir(QStringLiteral("INFINITE"));
        mkdir(QStringLiteral("EVENT"));
    }
};
