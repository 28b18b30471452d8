// The map pop-up with its real browser: window geometry and commands, the
// overlay as drawn, dragging, the bundled page receiving the viewer's calls
// (and nothing else), and its tiles coming through the viewer from a tile
// server, the disk cache and a tile package.
#include "app/MainWindowFixture.h"
#include "app/PlaybackCardFiles.h"
#include "display/CMapView.h"
#include "display/CVxBrowser.h"
#include "display/MapTileRoute.h"
#include "display/MapWebEngineSetup.h"
#include "display/MapOverlayText.h"
#include "skin/CVxButton.h"
#include "skin/SkinImage.h"

#include "fakes/FakeTelemetrySource.h"

#include <QApplication>
#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QtTest>
#include <cmath>

namespace {
MapConfig offlineConfig()
{
    MapConfig c;
    c.server.setScheme(MapConfig::kBundledScheme);
    c.server.setHost(MapConfig::kBundledHost);
    c.tiles.clear(); // no tiles: nothing is fetched from the network
    return c;
}

// Evaluates a script in the page's main world and waits for its value.
QVariant evalJs(CExplorerMapViewWnd* view, const QString& script)
{
    QVariant value;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& v) {
        value = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("no answer from the page");
    return value;
}

QString runText(CExplorerMapViewWnd* view, const QString& text)
{
    QString result = QStringLiteral("<none>");
    CExplorerMapViewWnd::RunPageScript(view, text, [&](const QString& r) { result = r; });
    (void)QTest::qWaitFor([&] { return result != QStringLiteral("<none>"); }, 10000);
    return result;
}

QJsonArray recordedCalls(CExplorerMapViewWnd* view)
{
    return QJsonDocument::fromJson(evalJs(view, "JSON.stringify(halcyonCalls)").toString().toUtf8()).array();
}

// A tile of one colour with its name in a corner, as a tile server sends it.
QByteArray tilePng(QColor colour, const QString& name)
{
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(colour);
    QPainter p(&tile);
    p.setPen(colour.darker(160));
    p.drawRect(0, 0, 255, 255);
    p.drawText(QRect(6, 6, 244, 20), Qt::AlignLeft, name);
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    return png;
}

// Answers "GET /{z}/{x}/{y}.png" with a tile that may be kept but is stale at
// once (max-age=0), and keeps every path asked for.
class TileServer : public QTcpServer {
public:
    explicit TileServer(QColor colour) : m_colour(colour)
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    QByteArray& pending = m_pending[s];
                    pending += s->readAll();
                    qsizetype end;
                    while ((end = pending.indexOf("\r\n\r\n")) >= 0) {
                        const QList<QByteArray> line = pending.left(pending.indexOf("\r\n")).split(' ');
                        pending.remove(0, end + 4);
                        const QByteArray path = line.value(1);
                        paths << QString::fromLatin1(path);
                        const QByteArray png = tilePng(m_colour, QStringLiteral("server ") + paths.last());
                        s->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: max-age=0\r\n"
                                 "Content-Length: "
                                 + QByteArray::number(png.size()) + "\r\n\r\n" + png);
                    }
                });
            }
        });
    }
    QStringList paths;

private:
    QColor m_colour;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

// The slippy-map tile under a position.
MapTile tileAt(double latitude, double longitude, int z)
{
    const double n = double(1 << z);
    const double lat = latitude * M_PI / 180.0;
    return MapTile{z, int(std::floor((longitude + 180.0) / 360.0 * n)),
                   int(std::floor((1.0 - std::asinh(std::tan(lat)) / M_PI) / 2.0 * n))};
}

// An MBTiles package with the tiles around `centre`: `colour` where TMS puts
// each tile (row counted from the south), `wrong` where a reader that forgot
// to count from the south would look.
void writePackage(const QString& path, const MapTile& centre, QColor colour, QColor wrong)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("package-writer"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE metadata (name TEXT, value TEXT)"));
        QVERIFY(q.exec("INSERT INTO metadata VALUES ('format', 'png')"));
        QVERIFY(q.exec("CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, tile_row INTEGER, tile_data BLOB)"));
        for (int dx = -3; dx <= 3; ++dx)
            for (int dy = -3; dy <= 3; ++dy) {
                const MapTile t{centre.z, centre.x + dx, centre.y + dy};
                const QString name = QStringLiteral("%1/%2/%3").arg(t.z).arg(t.x).arg(t.y);
                const QByteArray good = tilePng(colour, QStringLiteral("package ") + name);
                const QByteArray bad = tilePng(wrong, QStringLiteral("row from the north ") + name);
                for (const auto& [row, data] : {std::pair{MapTileRoute::TmsRow(t), good}, std::pair{t.y, bad}}) {
                    QVERIFY(q.prepare("INSERT INTO tiles VALUES (?, ?, ?, ?)"));
                    q.addBindValue(t.z);
                    q.addBindValue(t.x);
                    q.addBindValue(row);
                    q.addBindValue(data);
                    QVERIFY(q.exec());
                }
            }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("package-writer"));
}

// Pixels of the map view (inside the pop-up) within a few steps of colour.
int pixelsLike(CVxBrowser& b, QColor colour)
{
    const QImage shot = b.mapView()->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) {
            const QColor c = shot.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 8 && qAbs(c.green() - colour.green()) < 8
                && qAbs(c.blue() - colour.blue()) < 8)
                ++n;
        }
    return n;
}

// The pop-up shown at the position, its page loaded.
bool showAt(CVxBrowser& b, double latitude, double longitude)
{
    b.ToggleShown();
    if (!QTest::qWaitForWindowExposed(&b))
        return false;
    b.ShowPosition(latitude, longitude);
    return QTest::qWaitFor([&b] { return b.mapView()->isPageLoaded(); }, 30000)
        && QTest::qWaitFor([&b] { return recordedCalls(b.mapView()).size() >= 3; }, 10000);
}

QJsonArray call(std::initializer_list<const char*> parts)
{
    QJsonArray a;
    for (const char* p : parts)
        a.append(QString::fromUtf8(p));
    return a;
}

bool isYellow(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 80;
}

// Leftmost and rightmost column with a yellow pixel inside r, or (-1, -1).
QPair<int, int> yellowColumns(const QImage& img, const QRect& r)
{
    int left = -1, right = -1;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (isYellow(img.pixel(x, y))) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return {left, right};
}
} // namespace

class MapPopupTest : public QObject {
    Q_OBJECT
private slots:
    void createdHiddenAtItsPlaces()
    {
        CVxBrowser b(offlineConfig());
        QCOMPARE(CVxBrowser::instance(), &b);
        QVERIFY(!b.isVisible());
        QVERIFY(!b.IsShownByUser());
        QVERIFY(!b.isModal());
        QVERIFY(b.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(b.parentWidget(), nullptr);
        QCOMPARE(b.size(), QSize(460, 440));
        QCOMPARE(b.mapView()->geometry(), QRect(7, 33, 446, 317));
        QCOMPARE(b.mapView()->property("controlId").toInt(), 600);
        QCOMPARE(b.closeButton()->geometry(), QRect(436, 2, 22, 22));
        QCOMPARE(b.closeButton()->controlId(), 460);
        QCOMPARE(b.overlayFont().pixelSize(), 14);
        QCOMPARE(b.overlayFont().weight(), QFont::Weight(600));
        QCOMPARE(b.overlayFont().families().value(0), QStringLiteral("Tahoma"));
    }

    void mapCommandTogglesAndEveryCloseRouteHides_data()
    {
        QTest::addColumn<QString>("route");
        for (const char* r : {"button 460", "command 460", "Enter", "Return", "Escape", "close request"})
            QTest::newRow(r) << QString::fromLatin1(r);
    }
    void mapCommandTogglesAndEveryCloseRouteHides()
    {
        QFETCH(QString, route);
        CVxBrowser b(offlineConfig());
        b.ToggleShown();
        QVERIFY(b.isVisible());
        QVERIFY(b.IsShownByUser());
        b.ToggleShown();
        QVERIFY(!b.isVisible());
        QVERIFY(!b.IsShownByUser());
        b.ToggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(&b));

        if (route == "button 460")
            QTest::mouseClick(b.closeButton(), Qt::LeftButton, {}, QPoint(10, 10));
        else if (route == "command 460")
            b.OnCommand(460);
        else if (route == "Enter")
            QTest::keyClick(&b, Qt::Key_Enter);
        else if (route == "Return")
            QTest::keyClick(&b, Qt::Key_Return);
        else if (route == "Escape")
            QTest::keyClick(&b, Qt::Key_Escape);
        else
            QVERIFY(!b.close());
        QVERIFY(!b.isVisible());
        QVERIFY(!b.IsShownByUser());
        QCOMPARE(CVxBrowser::instance(), &b); // hidden, not destroyed
        b.ToggleShown();
        QVERIFY(b.isVisible());
    }

    void overlayDrawsYellowTextsInTheirRectangles()
    {
        CVxBrowser b(offlineConfig());
        b.UpdateOverlay(12, 3, -33.8688, 151.2093, QDateTime(QDate(2015, 4, 21), QTime(9, 5)));
        QImage shot = b.grab().toImage();
        const auto speed = yellowColumns(shot, MapOverlayText::kSpeedRect);
        const auto time = yellowColumns(shot, MapOverlayText::kTimeRect);
        const auto position = yellowColumns(shot, MapOverlayText::kPositionRect);
        QVERIFY2(speed.first >= 7 && speed.second >= 130 && speed.second < 137, "speed right-aligned at 137");
        QVERIFY2(time.first >= 167 && time.first < 172, "time left-aligned at 167");
        QVERIFY2(position.first >= 167 && position.first < 172, "position left-aligned at 167");
        QVERIFY(position.second > time.second); // the position line is the longer one
        QCOMPARE(b.localTime(), QDateTime(QDate(2015, 4, 21), QTime(9, 5)));

        // "12 knots" is wider than "12 mph"; an unknown unit draws no speed.
        b.SetSpeedUnit(2);
        shot = b.grab().toImage();
        QVERIFY(yellowColumns(shot, MapOverlayText::kSpeedRect).first > speed.first);
        b.UpdateOverlay(12, 7, 1, 2, QDateTime());
        shot = b.grab().toImage();
        QCOMPARE(yellowColumns(shot, MapOverlayText::kSpeedRect).first, -1);
        // A fix without a valid date keeps the time shown.
        QCOMPARE(b.localTime(), QDateTime(QDate(2015, 4, 21), QTime(9, 5)));
        QCOMPARE(yellowColumns(shot, MapOverlayText::kTimeRect), time);

        // The frame: the middle band is 527 stretched, its caps unstretched in x.
        const QImage middle = LoadSkinImage(527);
        QVERIFY(!middle.isNull());
        QCOMPARE(shot.pixelColor(3, 150), middle.pixelColor(3, 5));
        QCOMPARE(shot.pixelColor(456, 150), middle.pixelColor(41, 5));
    }

    void dragsOnlyByTheTopStrip()
    {
        CVxBrowser b(offlineConfig());
        b.ToggleShown();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        b.move(100, 100);
        auto drag = [&b](QPoint from, QPoint by) {
            const QPoint g = b.mapToGlobal(from);
            QMouseEvent press(QEvent::MouseButtonPress, from, g, Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(&b, &press);
            QMouseEvent move(QEvent::MouseMove, from + by, g + by, Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(&b, &move);
            QMouseEvent release(QEvent::MouseButtonRelease, from + by, g + by, Qt::LeftButton, Qt::NoButton, {});
            QApplication::sendEvent(&b, &release);
        };
        drag(QPoint(200, 29), QPoint(40, 30));
        QCOMPARE(b.pos(), QPoint(140, 130));
        drag(QPoint(200, 30), QPoint(40, 30));
        QCOMPARE(b.pos(), QPoint(140, 130));
    }

    void pageReceivesPositionAndTrackAsStrings()
    {
        CVxBrowser b(offlineConfig());
        CMapView* view = b.mapView();
        QSignalSpy loaded(view, &CExplorerMapViewWnd::pageLoaded);
        // Before the page is there: kept, and only the last one is sent.
        b.ShowPosition(1.0, 2.0);
        b.ShowPosition(37.5665, 126.978);
        b.ShowTrack({{126.97, 37.56}, {126.978, 37.5665}});
        QVERIFY(loaded.wait(30000));
        QCOMPARE(loaded.at(0).at(0).toBool(), true);

        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls(view).size(), 4, 10000);
        const QJsonArray calls = recordedCalls(view);
        QCOMPARE(calls[0].toArray(), call({"setTrack_wgs84", "126.970000", "37.560000", "126.978000", "37.566500"}));
        QCOMPARE(calls[1].toArray(), call({"removePoi", "0"}));
        QCOMPARE(calls[2].toArray(),
                 call({"addPoi_wgs84", "0", "126.978000", "37.566500", "p", "0", "0", "gpspos"}));
        QCOMPARE(calls[3].toArray(), call({"setCenter_wgs84", "126.978000", "37.566500"}));
        // One marker at the fix, the track drawn, the map centred there.
        QCOMPARE(evalJs(view, "Object.keys(halcyonPois).length").toInt(), 1);
        QCOMPARE(evalJs(view, "halcyonPois['0'].getLatLng().lng").toDouble(), 126.978);
        QCOMPARE(evalJs(view, "halcyonTrack.getLatLngs().length").toInt(), 2);
        QCOMPARE(qRound(evalJs(view, "halcyonMap.getCenter().lat * 10000").toDouble()), 375665);

        // Once loaded, a call goes straight to the page; a result comes back.
        QCOMPARE(runText(view, "javascript:setTrack_wgs84('1', '2', 'x', '3', '200', '4')"), "1");
        QCOMPARE(evalJs(view, "halcyonTrack.getLatLngs().length").toInt(), 1);
        // Out of range and malformed numbers are ignored: the marker stays.
        runText(view, "javascript:addPoi_wgs84(0, 181, 1e2, 'p', 0, 0, 'gpspos')");
        QCOMPARE(evalJs(view, "halcyonPois['0'].getLatLng().lat").toDouble(), 37.5665);
    }

    void callsNeverRunTheirArgumentsAsCode()
    {
        CVxBrowser b(offlineConfig());
        CMapView* view = b.mapView();
        QSignalSpy loaded(view, &CExplorerMapViewWnd::pageLoaded);
        QVERIFY(loaded.wait(30000));
        const QString hostile1 = QStringLiteral("1');window.pwned=1;//");
        const QString hostile2 = QStringLiteral("\");window.pwned=2;//");
        QString result = "<none>";
        view->RunCall(PageCall{"setCenter_wgs84", {hostile1, hostile2}}, [&](const QString& r) { result = r; });
        QTRY_COMPARE_WITH_TIMEOUT(result, QString(), 10000);
        result = "<none>";
        view->RunCall(PageCall{"removePoi');window.pwned=3;//", {}}, [&](const QString& r) { result = r; });
        QTRY_COMPARE_WITH_TIMEOUT(result, QString(), 10000);
        // Built-ins are not page functions: eval and setTimeout are refused.
        QCOMPARE(runText(view, "javascript:eval(window.pwned=4)"), QString());
        QCOMPARE(runText(view, "javascript:setTimeout(window.pwned=5)"), QString());
        QCOMPARE(runText(view, "javascript:noSuchFunction(1)"), QString());
        QCOMPARE(runText(view, "javascript:halcyonLatLng(1, 2)").isEmpty(), false);
        QCOMPARE(runText(view, "javascript:removePoi"), QString());
        QCOMPARE(runText(view, ""), QString());
        QTest::qWait(50);
        QCOMPARE(evalJs(view, "typeof window.pwned").toString(), "undefined");
        // The hostile strings arrived as plain data.
        const QJsonArray calls = recordedCalls(view);
        QVERIFY(!calls.isEmpty());
        QCOMPARE(calls[0].toArray(), (QJsonArray{"setCenter_wgs84", hostile1, hostile2}));
    }

    // Tiles come through the viewer: from the tile server, then (server gone)
    // from the disk cache although they are stale, then from a package alone.
    void tilesComeFromServerCacheAndPackage()
    {
        // Where the page opens (zoom 15), so that every tile asked for is one
        // of the area shown, before and after the position arrives.
        const double lat = 35.261238, lon = 128.617096;
        const MapTile centre = tileAt(lat, lon, 15);
        const QColor served(40, 160, 90), packaged(150, 60, 170), flipped(230, 140, 20);
        QTemporaryDir dir;
        const QString shots = qEnvironmentVariable("HALCYON_MAP_SHOTS"); // screenshots for a person to look at
        auto shoot = [&shots](CVxBrowser& b, const char* name) {
            if (!shots.isEmpty())
                b.grab().save(QDir(shots).filePath(QLatin1String(name)));
        };
        MapConfig config = offlineConfig();
        config.tileCache = dir.filePath(QStringLiteral("cache"));
        {
            TileServer server(served);
            QVERIFY(server.listen(QHostAddress::LocalHost));
            config.tiles = QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server.serverPort());
            CVxBrowser b(config);
            QVERIFY(showAt(b, lat, lon));
            QTRY_VERIFY_WITH_TIMEOUT(pixelsLike(b, served) > 2000, 20000);
            // Only tiles of the area shown, only through the viewer's own fetches.
            QVERIFY2(server.paths.contains(QStringLiteral("/15/%1/%2.png").arg(centre.x).arg(centre.y)),
                     qPrintable(server.paths.join(u' ')));
            for (const QString& path : server.paths) {
                const QStringList p = path.split(u'/');
                QVERIFY2(p.size() == 4 && p[1] == QLatin1String("15"), qPrintable(path));
                QVERIFY2(qAbs(p[2].toInt() - centre.x) <= 3 && qAbs(p[3].chopped(4).toInt() - centre.y) <= 3,
                         qPrintable(path));
            }
            shoot(b, "map-server.png");
        }
        {
            // Nothing listens on the server's port any more.
            CVxBrowser b(config);
            QVERIFY(showAt(b, lat, lon));
            QTRY_VERIFY_WITH_TIMEOUT(pixelsLike(b, served) > 2000, 20000);
            shoot(b, "map-cache.png");
        }
        {
            config.tiles.clear();
            config.tileCache.clear();
            config.tilePackage = dir.filePath(QStringLiteral("area.mbtiles"));
            writePackage(config.tilePackage, centre, packaged, flipped);
            CVxBrowser b(config);
            QVERIFY(showAt(b, lat, lon));
            QTRY_VERIFY_WITH_TIMEOUT(pixelsLike(b, packaged) > 2000, 20000);
            QCOMPARE(pixelsLike(b, flipped), 0);
            QCOMPARE(pixelsLike(b, served), 0);
            shoot(b, "map-package.png");
        }
    }

    // The whole road through the main window: a recording with GPS plays, the
    // tick runs, the map command shows the pop-up, the exit command ends it.
    void playingARecordingDrivesThePage()
    {
        QTemporaryDir settings;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, settings.filePath(QStringLiteral("system")));
        qputenv("HALCYON_CARD_ROOTS", "");
        qputenv("HALCYON_MAP_TILES", ""); // nothing is fetched from the network
        qunsetenv("HALCYON_MAP_SERVER");
        qunsetenv("HALCYON_MAP_CHECK_SERVER");
        MainWindowFixture f;
        CVxBrowser* browser = nullptr;
        f.createMapPopup = [&browser](const MapConfig& config) {
            auto b = std::make_unique<CVxBrowser>(config);
            browser = b.get();
            return std::unique_ptr<IMapPopup>(std::move(b));
        };
        QVERIFY(f.create(playbackCardFiles()));
        QVERIFY(browser && !browser->isVisible());

        FakeTelemetrySource source;
        source.addLine("G$GPRMC,233000,A,3715.5,S,12700.0,E,010.0,090.0,311214,,,A", 0);
        source.addLine("G$GPRMC,233001,A,3715.6,S,12700.0,E,020.0,090.0,311214,,,A", 1000);
        f.engine->telemetry = &source;
        f.controller().ActivateRow(0);
        f.engine->positionMs = 1500;
        f.controller().OnTimer3();
        f.controller().OnTimer3();
        f.frame->dispatchCommand(CommandId::Map);
        QVERIFY(browser->isVisible());
        QCOMPARE(browser->speed(), 37);

        CMapView* view = browser->mapView();
        QTRY_VERIFY_WITH_TIMEOUT(view->isPageLoaded(), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls(view).size(), 4, 10000);
        const QJsonArray calls = recordedCalls(view);
        QCOMPARE(calls[0].toArray(),
                 call({"setTrack_wgs84", "127.000000", "-37.258333", "127.000000", "-37.260000"}));
        QCOMPARE(calls[1].toArray(), call({"removePoi", "0"}));
        QCOMPARE(calls[2].toArray(),
                 call({"addPoi_wgs84", "0", "127.000000", "-37.260000", "p", "0", "0", "gpspos"}));
        QCOMPARE(calls[3].toArray(), call({"setCenter_wgs84", "127.000000", "-37.260000"}));

        f.frame->dispatchCommand(CommandId::Map);
        QVERIFY(!browser->isVisible());
        f.frame->dispatchCommand(CommandId::Exit);
        QVERIFY(!f.frame->mapPopup());
    }
};

int main(int argc, char** argv)
{
    MapWebEngineSetup::Prepare();
    QApplication app(argc, argv);
    MapPopupTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "MapPopupTest.moc"
