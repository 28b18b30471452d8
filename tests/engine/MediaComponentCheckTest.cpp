#include "engine/MediaComponentCheck.h"

#include <QTest>

class MediaComponentCheckTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetHiddenMediaFactoriesForTest({}); }
    void reportsFirstMissingComponent_data();
    void reportsFirstMissingComponent();
};

void MediaComponentCheckTest::reportsFirstMissingComponent_data()
{
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<int>("result");
    QTest::newRow("all present") << QStringList() << 1;
    QTest::newRow("no file source") << QStringList{QStringLiteral("filesrc")} << -1;
    QTest::newRow("no MP4 demuxer") << QStringList{QStringLiteral("qtdemux")} << -1;
    QTest::newRow("no video decoder") << QStringList{QStringLiteral("avdec_h264")} << -2;
    QTest::newRow("no AAC decoder") << QStringList{QStringLiteral("avdec_aac")} << -3;
    QTest::newRow("no brightness filter") << QStringList{QStringLiteral("videobalance")} << -4;
    // the check stops at the first failure
    QTest::newRow("decoder and filter missing") << QStringList{QStringLiteral("videobalance"), QStringLiteral("avdec_h264")} << -2;
}

void MediaComponentCheckTest::reportsFirstMissingComponent()
{
    QFETCH(QStringList, hidden);
    QFETCH(int, result);
    SetHiddenMediaFactoriesForTest(hidden);
    QCOMPARE(CheckMediaComponents(), result);
}

QTEST_GUILESS_MAIN(MediaComponentCheckTest)
#include "MediaComponentCheckTest.moc"
