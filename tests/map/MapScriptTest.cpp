// The map page's call protocol, the position call texts, the overlay texts
// and the map configuration: everything of the map that needs no browser.
#include "display/MapConfig.h"
#include "display/MapFixFeed.h"
#include "fakes/FakeMapPopup.h"
#include "display/MapOverlayText.h"
#include "display/MapPageScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

class MapScriptTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("HalcyonMapTest"));
        // The call texts must print decimal points under a locale whose
        // printf prints commas (a comma is an argument separator).
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        if (QByteArray(buf) != "1,5")
            QSKIP("de_DE.UTF-8 not available: run with LOCPATH pointing at a generated locale");
    }

    void parsesCallText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasCall");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("quoted numbers") << "javascript:setCenter_wgs84('1', '2')" << true << "setCenter_wgs84"
                                        << QStringList{"1", "2"};
        QTest::newRow("separator runs") << "javascript: f ( ;a,, \t'b'\"c\"(d) ;;" << true << "f"
                                        << QStringList{"a", "b", "c", "d"};
        QTest::newRow("negative numbers") << "javascript:addPoi_wgs84(0, -70.5, -33.868800, 'p')" << true
                                          << "addPoi_wgs84" << QStringList{"0", "-70.5", "-33.868800", "p"};
        QTest::newRow("text before prefix") << "xx javascript:removePoi(0)" << true << "removePoi"
                                            << QStringList{"0"};
        QTest::newRow("no prefix") << "removePoi(0)" << true << "removePoi" << QStringList{"0"};
        QTest::newRow("no parenthesis") << "javascript:removePoi" << true << "" << QStringList{};
        QTest::newRow("no arguments") << "javascript:f()" << true << "f" << QStringList{};
        QTest::newRow("prefix twice") << "javascript:javascript:f(1)" << true << "javascript:f" << QStringList{"1"};
        QTest::newRow("empty") << "" << false << "" << QStringList{};
    }
    void parsesCallText()
    {
        QFETCH(QString, text);
        QFETCH(bool, hasCall);
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        const auto call = MapPageScript::ParseCallText(text);
        QCOMPARE(call.has_value(), hasCall);
        if (!call)
            return;
        QCOMPARE(call->name, name);
        QCOMPARE(call->args, args);
    }

    void positionCallsCarryLongitudeFirstWithDecimalPoints_data()
    {
        QTest::addColumn<double>("lat");
        QTest::addColumn<double>("lon");
        QTest::addColumn<QString>("lonText");
        QTest::addColumn<QString>("latText");
        QTest::newRow("Seoul") << 37.5665 << 126.978 << "126.978000" << "37.566500";
        QTest::newRow("Sydney") << -33.8688 << 151.2093 << "151.209300" << "-33.868800";
        QTest::newRow("west") << 40.0 << -73.9857 << "-73.985700" << "40.000000";
    }
    void positionCallsCarryLongitudeFirstWithDecimalPoints()
    {
        QFETCH(double, lat);
        QFETCH(double, lon);
        QFETCH(QString, lonText);
        QFETCH(QString, latText);
        const QStringList texts = MapPageScript::PositionCallTexts(lat, lon);
        QCOMPARE(texts.size(), 3);
        const struct {
            QString name;
            QStringList args;
        } expected[3] = {
            {"removePoi", {"0"}},
            {"addPoi_wgs84", {"0", lonText, latText, "p", "0", "0", "gpspos"}},
            {"setCenter_wgs84", {lonText, latText}},
        };
        for (int i = 0; i < 3; ++i) {
            const auto call = MapPageScript::ParseCallText(texts[i]);
            QVERIFY(call);
            QCOMPARE(call->name, expected[i].name);
            QCOMPARE(call->args, expected[i].args);
        }
        QCOMPARE(texts[1], "javascript:addPoi_wgs84(0, " + lonText + ", " + latText + ", 'p', 0, 0, 'gpspos')");
    }

    void nonFinitePositionSendsNothing()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QVERIFY(MapPageScript::PositionCallTexts(nan, 126.0).isEmpty());
        QVERIFY(MapPageScript::PositionCallTexts(37.0, inf).isEmpty());
    }

    void trackCallAlternatesLongitudeAndLatitude()
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const PageCall call = MapPageScript::TrackCall({{126.978, 37.5665}, {nan, 1.0}, {-0.5, -33.8688}});
        QCOMPARE(call.name, QString(MapPageScript::kTrackFunction));
        QCOMPARE(call.args, (QStringList{"126.978000", "37.566500", "-0.500000", "-33.868800"}));
    }

    // The wrapper carries name and arguments as JSON data: whatever an
    // argument holds comes back out of the literal unchanged.
    void wrapperCarriesArgumentsAsData()
    {
        const PageCall call{"setCenter_wgs84",
                            {"1');alert(1);//", "\")}); window.x = 1; //", "line\u2028sep", "back\\slash"}};
        const QString script = MapPageScript::WrapperScript(call);
        const qsizetype open = script.lastIndexOf("})(");
        QVERIFY(open > 0);
        QVERIFY(script.endsWith(')'));
        const QString literal = script.mid(open + 3, script.size() - open - 4);
        QVERIFY(!literal.contains(QChar(0x2028)));
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(literal.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray data = doc.array();
        QCOMPARE(data.size(), 2);
        QCOMPARE(data[0].toString(), call.name);
        QCOMPARE(data[1].toVariant().toStringList(), call.args);
    }

    // The tick runs every 350 ms; the page hears of each fix once, the
    // overlay repaints when what it shows changes.
    void tickFeedsEachFixOnce()
    {
        FakeMapPopup popup;
        MapFixFeed feed;
        const QDateTime t(QDate(2015, 4, 21), QTime(9, 5), QTimeZone(9 * 3600));
        MapFix a{0, 37.5, 127.0, 50, 1, t};
        MapFix b{1, 37.6, 127.1, 52, 1, t.addSecs(1)};

        feed.Tick(popup, a, true); // check not answered yet: overlay only
        QCOMPARE(popup.positions.size(), 0u);
        QCOMPARE(popup.overlays.size(), 1u);
        feed.Tick(popup, a, false); // online now: the fix goes out once
        feed.Tick(popup, a, false);
        QCOMPARE(popup.positions.size(), 1u);
        QCOMPARE(popup.overlays.size(), 1u);
        feed.Tick(popup, b, false);
        feed.Tick(popup, b, false);
        QCOMPARE(popup.positions.size(), 2u);
        QCOMPARE(popup.positions.back(), QPointF(37.6, 127.1));
        QCOMPARE(popup.overlays.size(), 2u);

        // The camera's unit changes under the same fix: overlay only.
        MapFix mph = b;
        mph.speed = 32;
        mph.speedUnit = 2;
        feed.Tick(popup, mph, false);
        QCOMPARE(popup.positions.size(), 2u);
        QCOMPARE(popup.overlays.size(), 3u);
        QCOMPARE(popup.overlays.back().speed, 32);
        QCOMPARE(popup.overlays.back().speedUnit, 2);
        // Its time zone changes: same instant, other wall clock.
        MapFix zone = mph;
        zone.localTime = mph.localTime.toOffsetFromUtc(3600);
        feed.Tick(popup, zone, false);
        QCOMPARE(popup.overlays.size(), 4u);

        // A new recording starts again at fix 0.
        feed.Reset();
        feed.Tick(popup, a, false);
        QCOMPARE(popup.positions.size(), 3u);
        QCOMPARE(popup.overlays.size(), 5u);
    }

    void overlayTexts_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("speedText"); // "-": none
        QTest::newRow("km/h") << 88 << 1 << "88 km/h";
        QTest::newRow("mph") << 49 << 2 << "49 mph";
        QTest::newRow("knots") << 12 << 3 << "12 knots";
        QTest::newRow("unit 0") << 12 << 0 << "-";
        QTest::newRow("unit 4") << 12 << 4 << "-";
    }
    void overlayTexts()
    {
        QFETCH(int, speed);
        QFETCH(int, unit);
        QFETCH(QString, speedText);
        const auto text = MapOverlayText::SpeedText(speed, unit);
        QCOMPARE(text.value_or("-"), speedText);
    }

    void overlayTimeAndPosition()
    {
        QCOMPARE(MapOverlayText::TimeText(QDateTime(QDate(2015, 4, 21), QTime(9, 5, 59))), "2015/04/21 09:05");
        QCOMPARE(MapOverlayText::PositionText(-33.8688, 151.2093), "위도:-33.868800  경도:151.209300");
        QCOMPARE(MapOverlayText::kSpeedRect.right() + 1, 137);
        QCOMPARE(MapOverlayText::kPositionRect.bottom() + 1, 431);
    }

    void configFromSettingsAndEnvironment_data()
    {
        QTest::addColumn<QStringList>("settings"); // key=value
        QTest::addColumn<QStringList>("env");      // NAME=value
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("tiles"); // "<default>" for the default template
        QTest::newRow("defaults") << QStringList{} << QStringList{}
                                  << "halcyonmap://viewer/ViewerMap.aspx?Level=3" << "" << "<default>";
        QTest::newRow("settings") << QStringList{"map/server=http://maps.example:8080/x", "map/checkServer=check.example",
                                                 "map/tiles=https://t.example/{z}/{x}/{y}.png"}
                                  << QStringList{} << "http://maps.example:8080/ViewerMap.aspx?Level=3"
                                  << "check.example" << "https://t.example/{z}/{x}/{y}.png";
        QTest::newRow("environment wins") << QStringList{"map/server=http://maps.example", "map/tiles=https://t/{z}"}
                                          << QStringList{"HALCYON_MAP_SERVER=http://127.0.0.1:9",
                                                         "HALCYON_MAP_CHECK_SERVER=127.0.0.1:8", "HALCYON_MAP_TILES="}
                                          << "http://127.0.0.1:9/ViewerMap.aspx?Level=3" << "127.0.0.1:8" << "";
        QTest::newRow("outside server checks itself") << QStringList{"map/server=http://maps.example:81"} << QStringList{}
                                                      << "http://maps.example:81/ViewerMap.aspx?Level=3"
                                                      << "maps.example:81" << "<default>";
        QTest::newRow("bad server falls back") << QStringList{} << QStringList{"HALCYON_MAP_SERVER=::not a url"}
                                               << "halcyonmap://viewer/ViewerMap.aspx?Level=3" << "" << "<default>";
    }
    void configFromSettingsAndEnvironment()
    {
        QFETCH(QStringList, settings);
        QFETCH(QStringList, env);
        QFETCH(QString, page);
        QFETCH(QString, check);
        QFETCH(QString, tiles);
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        {
            QSettings s;
            s.clear();
            for (const QString& kv : settings)
                s.setValue(kv.section('=', 0, 0), kv.section('=', 1));
        }
        const char* names[] = {"HALCYON_MAP_SERVER", "HALCYON_MAP_CHECK_SERVER", "HALCYON_MAP_TILES"};
        for (const char* n : names)
            qunsetenv(n);
        for (const QString& kv : env)
            qputenv(kv.section('=', 0, 0).toLatin1().constData(), kv.section('=', 1).toUtf8());
        const MapConfig c = MapConfig::Load();
        for (const char* n : names)
            qunsetenv(n);
        QCOMPARE(c.pageUrl().toString(), page);
        QCOMPARE(c.checkHost(), check);
        QCOMPARE(c.tiles, tiles == "<default>" ? QString(MapConfig::kDefaultTiles) : tiles);
        QCOMPARE(c.bundled(), page.startsWith("halcyonmap:"));
    }
};

QTEST_GUILESS_MAIN(MapScriptTest)
#include "MapScriptTest.moc"
