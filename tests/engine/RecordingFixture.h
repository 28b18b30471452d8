#pragma once
// Generates small recordings with halcyon-recgen into a temporary folder.
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

class RecordingFixture {
public:
    static QString tool()
    {
        return QDir(qEnvironmentVariable("HALCYON_BUILD_DIR")).filePath(QStringLiteral("tools/recgen/halcyon-recgen"));
    }

    // Tiny two-camera clip unless args say otherwise; empty string on failure.
    QString make(const QString& name, const QStringList& args = {})
    {
        const QString path = m_dir.filePath(name);
        QStringList all{path, QStringLiteral("--front"), QStringLiteral("320x180"), QStringLiteral("--rear"),
                        QStringLiteral("160x90"), QStringLiteral("--duration"), QStringLiteral("3"),
                        QStringLiteral("--fps"), QStringLiteral("15")};
        all += args;
        QProcess p;
        p.start(tool(), all);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            qWarning("halcyon-recgen failed: %s", p.readAllStandardError().constData());
            return {};
        }
        return path;
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
