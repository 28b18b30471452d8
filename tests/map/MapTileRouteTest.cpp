// The page's tile route: only a tile within its zoom's range is one; anything
// else (a file, another host, a number in disguise) is not found. And the
// addresses built from a tile for a server and for a package.
#include "display/MapTileRoute.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::optional<MapTile>)

class MapTileRouteTest : public QObject {
    Q_OBJECT
private slots:
    void onlyTilesWithinTheirZoomPass_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<std::optional<MapTile>>("tile");
        const std::optional<MapTile> none;
        QTest::newRow("world") << "halcyonmap://tiles/0/0/0" << std::optional<MapTile>(MapTile{0, 0, 0});
        QTest::newRow("Seoul at 15") << "halcyonmap://tiles/15/27941/12700"
                                     << std::optional<MapTile>(MapTile{15, 27941, 12700});
        QTest::newRow("last tile of 22") << "halcyonmap://tiles/22/4194303/4194303"
                                         << std::optional<MapTile>(MapTile{22, 4194303, 4194303});
        QTest::newRow("x past the edge") << "halcyonmap://tiles/1/2/0" << none;
        QTest::newRow("y past the edge") << "halcyonmap://tiles/3/0/8" << none;
        QTest::newRow("zoom 23") << "halcyonmap://tiles/23/0/0" << none;
        QTest::newRow("negative") << "halcyonmap://tiles/2/-1/0" << none;
        QTest::newRow("plus sign") << "halcyonmap://tiles/2/+1/0" << none;
        QTest::newRow("hex") << "halcyonmap://tiles/2/0x1/0" << none;
        QTest::newRow("suffix") << "halcyonmap://tiles/2/1/1.png" << none;
        QTest::newRow("too few") << "halcyonmap://tiles/2/1" << none;
        QTest::newRow("too many") << "halcyonmap://tiles/2/1/1/1" << none;
        QTest::newRow("trailing slash") << "halcyonmap://tiles/2/1/1/" << none;
        QTest::newRow("dot segments") << "halcyonmap://tiles/2/../../etc/passwd" << none;
        QTest::newRow("encoded slash") << "halcyonmap://tiles/2/1%2F1/1" << none;
        QTest::newRow("huge number") << "halcyonmap://tiles/2/99999999999/1" << none;
        QTest::newRow("query") << "halcyonmap://tiles/2/1/1?u=http://example.com/" << none;
        QTest::newRow("port") << "halcyonmap://tiles:80/2/1/1" << none;
        QTest::newRow("user") << "halcyonmap://me@tiles/2/1/1" << none;
        QTest::newRow("other host") << "halcyonmap://viewer/2/1/1" << none;
        QTest::newRow("other scheme") << "http://tiles/2/1/1" << none;
        QTest::newRow("file") << "file:///etc/passwd" << none;
    }
    void onlyTilesWithinTheirZoomPass()
    {
        QFETCH(QString, url);
        QFETCH(std::optional<MapTile>, tile);
        QCOMPARE(MapTileRoute::Parse(QUrl(url)), tile);
    }

    void pageTemplateIsTheRoute()
    {
        const QString page = MapTileRoute::PageTemplate();
        QCOMPARE(page, QStringLiteral("halcyonmap://tiles/{z}/{x}/{y}"));
        QString filled = page;
        filled.replace("{z}", "4").replace("{x}", "3").replace("{y}", "9");
        QCOMPARE(MapTileRoute::Parse(QUrl(filled)), std::optional<MapTile>(MapTile{4, 3, 9}));
    }

    void serverAddressesAndPackageRows()
    {
        const MapTile t{3, 2, 1};
        QCOMPARE(MapTileRoute::ServerUrl("https://tile.example.org/{z}/{x}/{y}.png", t),
                 QUrl("https://tile.example.org/3/2/1.png"));
        // Rows counted from the south edge: 2^3 - 1 - 1.
        QCOMPARE(MapTileRoute::ServerUrl("http://h/{z}/{x}/{-y}.jpg", t), QUrl("http://h/3/2/6.jpg"));
        QCOMPARE(MapTileRoute::ServerUrl("http://{s}.h/{z}/{x}/{y}{r}.png", t), QUrl("http://a.h/3/2/1.png"));
        QCOMPARE(MapTileRoute::TmsRow(MapTile{0, 0, 0}), 0);
        QCOMPARE(MapTileRoute::TmsRow(MapTile{15, 27941, 12700}), 32767 - 12700);
    }
};

QTEST_GUILESS_MAIN(MapTileRouteTest)
#include "MapTileRouteTest.moc"
