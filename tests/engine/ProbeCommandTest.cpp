#include "engine/RecordingFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

class ProbeCommandTest : public QObject {
    Q_OBJECT
private slots:
    void printsGraphFactsAsJson()
    {
        const QString file = m_fixture.make(QStringLiteral("probe.mp4"), {QStringLiteral("--pcm")});
        QVERIFY(!file.isEmpty());
        QProcess p;
        p.start(cli(), {QStringLiteral("probe"), file});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(o.value(QStringLiteral("videoPins")).toInt(), 2);
        QCOMPARE(o.value(QStringLiteral("audioPins")).toInt(), 1001);
        QVERIFY(o.value(QStringLiteral("durationMs")).toInt() >= 2990);
        QCOMPARE(o.value(QStringLiteral("telemetryLines")).toInt(), 33);
        const QJsonArray channels = o.value(QStringLiteral("channels")).toArray();
        QCOMPARE(channels.size(), 2);
        QCOMPARE(channels.at(0).toObject().value(QStringLiteral("width")).toInt(), 320);
        QCOMPARE(channels.at(1).toObject().value(QStringLiteral("height")).toInt(), 90);
    }

    void badFileGivesOneLineReason()
    {
        const QString file = m_fixture.path(QStringLiteral("notes.mp4"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("just some notes\n");
        f.close();
        QProcess p;
        p.start(cli(), {QStringLiteral("probe"), file});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY(p.readAllStandardOutput().isEmpty());
        const QByteArray err = p.readAllStandardError().trimmed();
        QVERIFY2(!err.isEmpty() && !err.contains('\n'), err.constData());
    }

private:
    static QString cli()
    {
        return QDir(qEnvironmentVariable("HALCYON_BUILD_DIR")).filePath(QStringLiteral("tools/halcyon-deck-cli"));
    }
    RecordingFixture m_fixture;
};

QTEST_GUILESS_MAIN(ProbeCommandTest)
#include "ProbeCommandTest.moc"
