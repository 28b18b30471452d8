#include "app/MainFrameLayout.h"
#include "display/PlaybackReadoutText.h"
#include "app/RectEdges.h"
#include "app/VideoPlacement.h"

#include <QMap>
#include <QTest>
#include <memory>
#include <vector>

namespace {

struct Sample {
    std::uint32_t timeStamp;
    std::uint8_t x, y, z;
};

QRect edges(int l, int t, int r, int b) { return rectFromEdges(l, t, r, b); }

// "x,y visibility" per key, so a whole layout compares as one table.
QMap<int, QString> describe(const std::vector<LayoutEntry>& entries)
{
    static const char* names[] = {"keep", "show", "hide", "play-state"};
    QMap<int, QString> m;
    for (const LayoutEntry& e : entries) {
        QString s;
        if (e.moveTo)
            s += QStringLiteral("%1,%2 ").arg(e.moveTo->x()).arg(e.moveTo->y());
        if (e.resizeTo)
            s += QStringLiteral("%1x%2 ").arg(e.resizeTo->width()).arg(e.resizeTo->height());
        s += QLatin1String(names[int(e.visibility)]);
        if (m.contains(e.key))
            s = QStringLiteral("listed twice");
        m.insert(e.key, s);
    }
    return m;
}

} // namespace

class MainFrameGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void timeTextShowsMinutesAndSeconds_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        const qint64 second = 1000;
        QTest::newRow("hours are not shown") << true << (3600 + 2 * 60 + 5) * second << "02:05";
        QTest::newRow("59:59") << true << (59 * 60 + 59) * second << "59:59";
        QTest::newRow("under a second") << true << second - 1 << "00:00";
        QTest::newRow("only the lower 32 bits of the ms count") << true << (qint64(1) << 32) + 65000 << "01:05";
        QTest::newRow("not Running or Paused") << false << 65 * second << "00:00";
    }
    void timeTextShowsMinutesAndSeconds()
    {
        QFETCH(bool, playing);
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(PlaybackReadoutText::TimeText(playing, std::chrono::milliseconds(ms)), text);
    }

    void gValueText_data()
    {
        QTest::addColumn<int>("axisByte");
        QTest::addColumn<QString>("text");
        QTest::newRow("128 is zero") << 128 << "0.0G";
        QTest::newRow("0 is -2") << 0 << "-2.0G";
        QTest::newRow("192 is +1") << 192 << "1.0G";
        QTest::newRow("255 rounds to 2.0") << 255 << "2.0G";
        QTest::newRow("1/64 steps: 134") << 134 << "0.1G";
        QTest::newRow("exactly 0.25 rounds to even") << 144 << "0.2G";
        QTest::newRow("exactly -0.75 rounds to even") << 80 << "-0.8G";
    }
    void gValueText()
    {
        QFETCH(int, axisByte);
        QFETCH(QString, text);
        QCOMPARE(PlaybackReadoutText::GValueText(std::uint8_t(axisByte)), text);
    }

    void gReadoutTakesFirstSampleAtOrAfterPosition_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("shown"); // "x y z", or "none"
        QTest::newRow("stopped shows zero") << false << qint64(1500) << "0.0G 0.0G 0.0G";
        QTest::newRow("before the first sample") << true << qint64(0) << "-2.0G 0.0G 1.0G";
        QTest::newRow("equal stamp") << true << qint64(1000) << "1.0G -1.0G 0.0G";
        QTest::newRow("between samples: the later") << true << qint64(1001) << "0.1G 0.0G 0.0G";
        QTest::newRow("beyond the last: nothing drawn") << true << qint64(2001) << "none";
    }
    void gReadoutTakesFirstSampleAtOrAfterPosition()
    {
        QFETCH(bool, playing);
        QFETCH(qint64, ms);
        const std::chrono::milliseconds position(ms);
        QFETCH(QString, shown);
        const std::vector<Sample> samples{{500, 0, 128, 192}, {1000, 192, 64, 128}, {2000, 134, 128, 128}};
        auto text = [](const std::optional<GReadoutTexts>& r) {
            return r ? QStringList{r->x, r->y, r->z}.join(QLatin1Char(' ')) : QStringLiteral("none");
        };
        QCOMPARE(text(PlaybackReadoutText::GReadoutAt(playing, position, samples)), shown);
        // The recording keeps its samples by pointer; the rule is the same.
        std::vector<std::unique_ptr<Sample>> owned;
        for (const Sample& s : samples)
            owned.push_back(std::make_unique<Sample>(s));
        QCOMPARE(text(PlaybackReadoutText::GReadoutAt(playing, position, owned)), shown);
    }

    void placesVideoWindows_data()
    {
        QTest::addColumn<bool>("swap");
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QRect>("rect1");
        QTest::addColumn<QRect>("rect2");
        QTest::addColumn<bool>("show1");
        QTest::addColumn<bool>("show2");
        const QRect A = edges(9, 68, 708, 456), B = edges(710, 68, 1121, 375);
        // Client 1920 × 1040: F = (9, 69)–(1910, 947), 1901 × 878. The front
        // picture is 1920 × 1080; the second channel is fitted as 1280 × 720,
        // whose single-precision height truncates to 877.
        const QRect FA(179, 69, 1560, 878), FB(179, 69, 1560, 877);
        QTest::newRow("normal, playing") << false << false << true << A << B << true << true;
        QTest::newRow("normal, stopped") << false << false << false << A << B << false << false;
        QTest::newRow("normal swapped, playing") << true << false << true << B << A << true << true;
        QTest::newRow("normal swapped, stopped") << true << false << false << B << A << false << false;
        QTest::newRow("full, playing") << false << true << true << FA << FB << true << false;
        QTest::newRow("full, stopped") << false << true << false << FA << FB << false << false;
        QTest::newRow("full swapped, playing") << true << true << true << FA << FB << false << true;
        QTest::newRow("full swapped, stopped") << true << true << false << FA << FB << false << true;
    }
    void placesVideoWindows()
    {
        QFETCH(bool, swap);
        QFETCH(bool, fullScreen);
        QFETCH(bool, playing);
        QFETCH(QRect, rect1);
        QFETCH(QRect, rect2);
        QFETCH(bool, show1);
        QFETCH(bool, show2);
        const VideoWindowPlacement p =
            VideoPlacement::Place(swap, fullScreen, playing, QSize(1920, 1040), QSize(1920, 1080));
        QCOMPARE(p.window1, rect1);
        QCOMPARE(p.window2, rect2);
        QCOMPARE(p.show1, show1);
        QCOMPARE(p.show2, show2);
    }

    void aspectFitCentresTheScaledPicture_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("fitted");
        QTest::newRow("portrait: centred across") << QSize(720, 1280) << QRect(713, 69, 493, 878);
        QTest::newRow("4:3") << QSize(640, 480) << QRect(374, 69, 1170, 878);
        QTest::newRow("no picture size: as 1280 x 720") << QSize(0, 0) << QRect(179, 69, 1560, 877);
        QTest::newRow("one side 0: as 1280 x 720") << QSize(640, 0) << QRect(179, 69, 1560, 877);
        QTest::newRow("single precision: 100 x 100 fills 878") << QSize(100, 100) << QRect(520, 69, 878, 878);
    }
    void aspectFitCentresTheScaledPicture()
    {
        QFETCH(QSize, picture);
        QFETCH(QRect, fitted);
        const QRect area = VideoPlacement::FullScreenVideoArea(QSize(1920, 1040));
        QCOMPARE(area, edges(9, 69, 1910, 947));
        QCOMPARE(VideoPlacement::AspectFit(area, picture), fitted);
    }

    void aspectFitInATinyClientIsEmpty()
    {
        const QRect fitted = VideoPlacement::AspectFit(VideoPlacement::FullScreenVideoArea(QSize(10, 100)),
                                                       QSize(1280, 720));
        QVERIFY(fitted.isEmpty());
        QVERIFY(fitted.width() >= 0 && fitted.height() >= 0);
    }

    void fullScreenCoversTheWorkArea_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("target");
        const QRect screen(0, 0, 1920, 1080);
        QTest::newRow("panel at the bottom") << edges(0, 0, 1920, 1040) << edges(0, 0, 1920, 1040);
        QTest::newRow("panel on the left") << edges(60, 0, 1920, 1080) << edges(60, 0, 1920, 1080);
        QTest::newRow("no work area: whole screen") << QRect() << screen;
    }
    void fullScreenCoversTheWorkArea()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, target);
        QCOMPARE(MainFrameLayout::FullScreenTarget(available, QRect(0, 0, 1920, 1080)), target);
    }

    void normalLayout()
    {
        const MainFrameLayoutResult r = MainFrameLayout::Normal(QSize(1130, 640));
        QCOMPARE(r.captionStripRect, edges(0, 0, 1130, 27));
        QCOMPARE(r.positionTimeRect, edges(10, 457, 50, 471));
        QCOMPARE(r.durationTimeRect, edges(667, 457, 707, 471));
        // The edges as painted: right and bottom are exclusive.
        QCOMPARE(exclusiveRight(r.positionTimeRect), MainFrameLayout::PositionSliderRect().left());
        QCOMPARE(r.durationTimeRect.left(), exclusiveRight(MainFrameLayout::PositionSliderRect()));
        QVERIFY(!r.speedLabelRectFull);

        QMap<int, QString> rows;
        for (int row : {0, 1, 2, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21})
            rows[row] = QStringLiteral("show");
        for (int row : {8, 9, 11, 13, 14, 26})
            rows[row] = QStringLiteral("hide");
        for (int row : {3, 4, 10, 12})
            rows[row] = QStringLiteral("play-state");
        rows[22] = QStringLiteral("1051,5 keep");
        rows[23] = QStringLiteral("1076,5 show");
        rows[24] = QStringLiteral("1076,5 hide");
        rows[25] = QStringLiteral("1101,5 keep");
        QCOMPARE(describe(r.rows), rows);

        QMap<int, QString> children{
            {410, "show"}, {403, "hide"}, {459, "show"}, {411, "62,524 show"}, {412, "62,492 show"},
            {404, "hide"}, {405, "hide"}, {438, "34,489 18x15 keep"}, {439, "show"}, {458, "show"},
            {415, "show"}, {360, "show"}, {361, "show"}, {362, "show"}, {363, "show"}, {364, "show"},
        };
        QCOMPARE(describe(r.children), children);
        QCOMPARE(r.muteSwitchBitmap, 176);
    }

    void fullScreenLayoutOnAWorkAreaOf1920x1040()
    {
        const QRect target = MainFrameLayout::FullScreenTarget(edges(0, 0, 1920, 1040), QRect(0, 0, 1920, 1080));
        const FullScreenSliderRects created = MainFrameLayout::FullScreenSliders(target);
        QCOMPARE(created.position, edges(67, 957, 1852, 966));
        QCOMPARE(created.speed, edges(62, 524, 151, 534));
        QCOMPARE(created.volume, edges(62, 492, 151, 502));

        const MainFrameLayoutResult r = MainFrameLayout::FullScreen(target.size(), created.position.size());
        QCOMPARE(r.captionStripRect, edges(0, 0, 1920, 27));
        QCOMPARE(r.speedLabelRectFull.value_or(QRect()), edges(60, 996, 89, 1023));
        QCOMPARE(r.positionTimeRect, edges(7, 949, 67, 958));
        QCOMPARE(r.durationTimeRect, edges(1852, 949, 1912, 958));

        QMap<int, QString> rows;
        for (int row : {0, 1, 2, 5, 6, 7, 15, 16, 17, 18, 19, 20, 21})
            rows[row] = QStringLiteral("hide");
        rows[3] = rows[4] = QStringLiteral("play-state");
        rows[8] = QStringLiteral("200,968 show");
        rows[9] = QStringLiteral("250,968 show");
        rows[10] = rows[12] = QStringLiteral("300,962 play-state");
        rows[13] = QStringLiteral("364,968 show");
        rows[14] = QStringLiteral("414,968 show");
        rows[11] = QStringLiteral("464,968 show");
        rows[22] = QStringLiteral("1848,5 show");
        rows[23] = QStringLiteral("1871,5 hide");
        rows[24] = QStringLiteral("1871,5 show");
        rows[25] = QStringLiteral("1893,5 show");
        rows[26] = QStringLiteral("1753,975 show");
        QCOMPARE(describe(r.rows), rows);

        QMap<int, QString> children{
            {459, "hide"}, {410, "hide"}, {403, "67,949 show"}, {411, "hide"}, {404, "92,1005 88x10 show"},
            {438, "57,967 27x22 keep"}, {412, "hide"}, {405, "92,973 88x10 show"}, {439, "hide"},
            {458, "hide"}, {415, "hide"}, {360, "hide"}, {361, "hide"}, {362, "hide"}, {363, "hide"},
            {364, "hide"},
        };
        QCOMPARE(describe(r.children), children);
        QCOMPARE(r.muteSwitchBitmap, 177);
        QVERIFY(r.enableSpeedSliderFull);
    }

    void playPauseRowsFollowModeAndState_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("shownRows");
        QTest::newRow("normal, running") << false << true << "4";
        QTest::newRow("normal, not running") << false << false << "3";
        QTest::newRow("full, running") << true << true << "12";
        QTest::newRow("full, not running") << true << false << "10";
    }
    void playPauseRowsFollowModeAndState()
    {
        QFETCH(bool, fullScreen);
        QFETCH(bool, running);
        QFETCH(QString, shownRows);
        QStringList shown;
        for (const LayoutEntry& e : MainFrameLayout::PlayPauseRows(fullScreen, running))
            if (e.visibility == LayoutVisibility::Show)
                shown << QString::number(e.key);
        QCOMPARE(shown.join(QLatin1Char(' ')), shownRows);
    }

    void windowRegionHasRoundedCorners()
    {
        const QRegion region = MainFrameLayout::WindowRegion(QSize(1130, 640));
        for (QPoint corner : {QPoint(0, 0), QPoint(1129, 0), QPoint(0, 639), QPoint(1129, 639)})
            QVERIFY2(!region.contains(corner), qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        for (QPoint inside : {QPoint(565, 0), QPoint(565, 639), QPoint(0, 320), QPoint(1129, 320), QPoint(6, 6)})
            QVERIFY2(region.contains(inside), qPrintable(QStringLiteral("%1,%2").arg(inside.x()).arg(inside.y())));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 1130, 640));
    }
};

QTEST_GUILESS_MAIN(MainFrameGeometryTest)
#include "MainFrameGeometryTest.moc"
