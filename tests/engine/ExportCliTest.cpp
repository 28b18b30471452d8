// halcyon-deck-cli export as a script would use it, on a tiny generated card.
#include "RecordingFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString cliPath() { return QDir(qEnvironmentVariable("HALCYON_BUILD_DIR")).filePath(QStringLiteral("tools/halcyon-deck-cli")); }

struct Run {
    int exitCode = -1;
    QByteArray out;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Run run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput()};
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class ExportCliTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        // a card: the settings record at the root (mi/h, UTC+1 with daylight saving)
        QVERIFY(QDir(m_card.path()).mkpath(QStringLiteral("EVENT/20261209")));
        m_recording = m_fixture.make(QStringLiteral("e.mp4"));
        QVERIFY(!m_recording.isEmpty());
        const QString onCard = m_card.filePath(QStringLiteral("EVENT/20261209/20261209_142557_E01.mp4"));
        QVERIFY(QFile::copy(m_recording, onCard));
        m_recording = onCard;
        QByteArray settings(34, '\0');
        settings[27] = 13;
        settings[28] = 1;
        settings[29] = 2;
        QFile f(m_card.filePath(QStringLiteral("__system_ini.cfg")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(settings) == 34);
    }

    void exportsWithTheCardsSettingsAndPrintsASummary()
    {
        const QString clip = m_out.filePath(QStringLiteral("clip.mp4"));
        const Run r = run(cliPath(), {"export", m_recording, "--from", "0.5", "--to", "2.5", "--layout", "pip", "-o",
                                      clip, "--preset", "ultrafast"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject s = r.json();
        QCOMPARE(s.value(QLatin1String("status")).toString(), QStringLiteral("done"));
        QCOMPARE(s.value(QLatin1String("layout")).toString(), QStringLiteral("pip"));
        QCOMPARE(s.value(QLatin1String("fromMs")).toInt(), 500);
        QCOMPARE(s.value(QLatin1String("toMs")).toInt(), 2500);
        QCOMPARE(s.value(QLatin1String("width")).toInt(), 320);
        QCOMPARE(s.value(QLatin1String("height")).toInt(), 180);
        QCOMPARE(s.value(QLatin1String("sound")).toBool(), true);
        QCOMPARE(s.value(QLatin1String("settings")).toString(), m_card.filePath(QStringLiteral("__system_ini.cfg")));
        QCOMPARE(s.value(QLatin1String("gpx")).toString(), m_out.filePath(QStringLiteral("clip.gpx")));
        QCOMPARE(entries(m_out.path()), (QStringList{QStringLiteral("clip.gpx"), QStringLiteral("clip.mp4")}));
    }

    // A disk that fills up while the clip is written: the reason is told and
    // no part of the clip stays behind. The small disk is a tmpfs mounted in a
    // private mount namespace of a user namespace (no privileges needed).
    void fullDiskReportsWhyAndLeavesNothing()
    {
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        QTemporaryDir disk;
        if (unshare.isEmpty() || run(unshare, {"-rm", "true"}).exitCode != 0)
            QSKIP("no user namespaces here to mount a small disk in");
        const QString script = QStringLiteral(
            "mount -t tmpfs -o size=16k none \"$1\" || exit 99; \"$2\" export \"$3\" --from 0 --to 3 "
            "--layout side-by-side -o \"$1/clip.mp4\" --preset ultrafast; echo \"exit=$?\"; ls -A \"$1\"");
        const Run r = run(unshare, {"-rm", "sh", "-c", script, "sh", disk.path(), cliPath(), m_recording});
        QVERIFY2(r.exitCode == 0, "the small disk could not be mounted");
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.last(), QByteArray("exit=1")); // and nothing listed after it
        const QJsonObject s = QJsonDocument::fromJson(r.out.left(r.out.lastIndexOf("exit="))).object();
        QCOMPARE(s.value(QLatin1String("status")).toString(), QStringLiteral("failed"));
        QVERIFY2(s.value(QLatin1String("message")).toString().contains(QLatin1String("No space left")),
                 r.out.constData());
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no range end") << QStringList{"--from", "0", "--layout", "front"} << 2;
        QTest::newRow("range backwards") << QStringList{"--from", "2", "--to", "1", "--layout", "front"} << 2;
        QTest::newRow("unknown layout") << QStringList{"--from", "0", "--to", "1", "--layout", "quad"} << 2;
        QTest::newRow("negative start") << QStringList{"--from", "-1", "--to", "1", "--layout", "front"} << 2;
        QTest::newRow("settings of the wrong size")
            << QStringList{"--from", "0", "--to", "1", "--layout", "front", "--settings", "RECORDING"} << 1;
    }
    void refusesBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QTemporaryDir out;
        args.replaceInStrings(QStringLiteral("RECORDING"), m_recording);
        const Run r = run(cliPath(), QStringList{"export", m_recording, "-o", out.filePath(QStringLiteral("c.mp4"))} + args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(entries(out.path()), QStringList());
    }

private:
    RecordingFixture m_fixture;
    QTemporaryDir m_card;
    QTemporaryDir m_out;
    QString m_recording;
};

QTEST_GUILESS_MAIN(ExportCliTest)
#include "ExportCliTest.moc"
