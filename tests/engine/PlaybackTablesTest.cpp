#include "engine/PlaybackTables.h"

#include <QtTest>

class PlaybackTablesTest : public QObject {
    Q_OBJECT
private slots:
    void speedSettingGivesAppliedRate_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<float>("stored");
        QTest::addColumn<float>("applied");
        const float stored[] = {0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.25f, 1.5f, 1.75f, 5.0f};
        const float applied[] = {0.5f, 0.5f, 0.6f, 0.8f, 1.0f, 1.25f, 1.5f, 1.75f, 2.0f};
        for (int s = 1; s <= 9; ++s)
            QTest::addRow("setting %d", s) << s << stored[s - 1] << applied[s - 1];
        QTest::newRow("setting 0") << 0 << 1.0f << 1.0f;
        QTest::newRow("setting 10") << 10 << 1.0f << 1.0f;
    }
    void speedSettingGivesAppliedRate()
    {
        QFETCH(int, setting);
        QFETCH(float, stored);
        QFETCH(float, applied);
        QCOMPARE(RateForSpeedSetting(setting), stored);
        QCOMPARE(ClampRate(RateForSpeedSetting(setting)), applied);
    }

    void volumeLevelInHundredthsOfDecibel_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("level");
        const int table[][2] = {{0, -10000}, {1, -2000}, {10, -999}, {25, -602}, {50, -301},
                                {75, -124},  {90, -45},  {99, -4},   {100, 0},   {-5, -10000}, {150, 0}};
        for (const auto& row : table)
            QTest::addRow("%d%%", row[0]) << row[0] << row[1];
    }
    void volumeLevelInHundredthsOfDecibel()
    {
        QFETCH(int, percent);
        QFETCH(int, level);
        QCOMPARE(VolumeLevelFromPercent(percent), level);
    }

    void gainFollowsLevel()
    {
        QCOMPARE(GainFromVolumeLevel(-10000), 0.0);
        QCOMPARE(GainFromVolumeLevel(0), 1.0);
        QVERIFY(qAbs(GainFromVolumeLevel(-2000) - 0.1) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(PlaybackTablesTest)
#include "PlaybackTablesTest.moc"
