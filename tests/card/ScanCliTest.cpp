// halcyon-deck-cli scan / settings, run as a user's script would.
#include "config/DeviceConfig.h"
#include "card/CardTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {
struct Run {
    int status;
    QByteArray out;
};
Run cli(const QStringList& args)
{
    QProcess p;
    p.start(qEnvironmentVariable("HALCYON_BUILD_DIR") + QStringLiteral("/tools/halcyon-deck-cli"), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput()};
}
} // namespace

class ScanCliTest : public QObject {
    Q_OBJECT
private slots:
    void scanPrintsTheFiveLists()
    {
        CardTree card;
        card.makeCard();
        card.file(QStringLiteral("EVENT/0315/20120315_142501_E01.mp4"));
        card.file(QStringLiteral("MOTION/0315/20120315_132501_M01.mp4"));
        const Run r = cli({QStringLiteral("scan"), card.dir.path()});
        QCOMPARE(r.status, 0);
        const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(doc.value("root").toString(), card.root());
        QVERIFY(doc.value("isCard").toBool());
        const QJsonArray lists = doc.value("lists").toArray();
        QCOMPARE(lists.size(), 5);
        QStringList names;
        for (const auto& l : lists)
            names << l.toObject().value("name").toString();
        QCOMPARE(names, QStringList({"ALL", "NORMAL", "EVENT", "MANUAL", "MOTION"}));
        const QJsonArray all = lists.at(0).toObject().value("recordings").toArray();
        QCOMPARE(all.size(), 2);
        const QJsonObject first = all.at(0).toObject();
        QCOMPARE(first.value("name").toString(), QStringLiteral("20120315_132501_M01.mp4"));
        QCOMPARE(first.value("type").toString(), QStringLiteral("MOTION"));
        QCOMPARE(first.value("path").toString(), card.path("MOTION/0315/20120315_132501_M01.mp4"));
        QVERIFY(QDateTime::fromString(first.value("time").toString(), Qt::ISODateWithMs).isValid());
        QCOMPARE(lists.at(2).toObject().value("recordings").toArray().size(), 1);

        QCOMPARE(cli({QStringLiteral("scan"), card.path("absent")}).status, 1);
    }

    void settingsShowAndReset()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettingsFileName);
        QCOMPARE(cli({"settings", "reset", path}).status, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), DeviceSettings::Default().ToBytes());
        f.close();
        const Run shown = cli({"settings", "show", path});
        QCOMPARE(shown.status, 0);
        const QJsonObject fields = QJsonDocument::fromJson(shown.out).object();
        QCOMPARE(fields.value("timeZoneIndex").toInt(), 21);
        QCOMPARE(fields.value("speedUnit").toInt(), 1);

        // Showing a wrong-sized file reports it and leaves it alone.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(33, '\x01'));
        f.close();
        QCOMPARE(cli({"settings", "show", path}).status, 1);
        QCOMPARE(QFileInfo(path).size(), 33);
    }
};

QTEST_GUILESS_MAIN(ScanCliTest)
#include "ScanCliTest.moc"
