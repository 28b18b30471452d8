// Every skin bitmap the program loads is in the resources at its size.
#include "skin/SkinImage.h"

#include <QImage>
#include <QTest>

class SkinBitmapsTest : public QObject {
    Q_OBJECT
private slots:
    void everyIdLoadsAtItsSize_data();
    void everyIdLoadsAtItsSize();
    void magentaIsTransparentOnThumbsAndStrips_data();
    void magentaIsTransparentOnThumbsAndStrips();
    void missingIdGivesNullImage();
};

void SkinBitmapsTest::everyIdLoadsAtItsSize_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    auto add = [](int id, int w, int h) { QTest::addRow("%d", id) << id << QSize(w, h); };
    // control-bar strips: 3 images each
    for (int id : {142, 136, 514, 516, 132, 137, 113, 529, 116, 531, 114})
        add(id, 3 * 42, 42);
    for (int id : {135, 133, 117, 115})
        add(id, 3 * 54, 54);
    for (int id : {150, 151, 147})
        add(id, 3 * 32, 32);
    for (int id : {148, 520, 521, 522})
        add(id, 3 * 100, 28);
    for (int id : {140, 145, 157, 141})
        add(id, 3 * 22, 22);
    add(534, 3 * 120, 28);
    // category tabs: 5 images each
    for (int id : {590, 591, 592, 593, 594})
        add(id, 5 * 76, 30);
    // slider channels (3 x 2 cells) and thumbs
    for (int id : {155, 143, 144, 175, 601})
        add(id, 15, 20);
    add(463, 27, 18);
    add(193, 14, 10);
    add(464, 14, 9);
    for (int id : {596, 595, 602})
        add(id, 10, 10);
    // switches
    add(176, 36, 15);
    add(177, 54, 22);
    add(179, 60, 23);
    // window images
    add(178, 1130, 640);
    add(180, 413, 23);
    add(526, 45, 70);
    add(527, 45, 10);
    add(528, 45, 200);
    add(603, 110, 35);
    add(604, 130, 36);
    add(191, 100, 27);
    add(192, 100, 27);
    add(158, 32, 32);
    // recording list and speed panel
    add(134, 128, 20);
    add(138, 383, 40);
    add(598, 122, 72);
}

void SkinBitmapsTest::everyIdLoadsAtItsSize()
{
    QFETCH(int, id);
    QFETCH(QSize, size);
    // Plain QImage: the resources register themselves, no init call needed.
    const QImage img(QStringLiteral(":/bitmaps/%1.png").arg(id));
    QVERIFY2(!img.isNull(), qPrintable(SkinBitmapPath(id)));
    QCOMPARE(img.size(), size);
}

void SkinBitmapsTest::magentaIsTransparentOnThumbsAndStrips_data()
{
    QTest::addColumn<int>("id");
    for (int id : {193, 464, 596, 595, 602, 135, 141})
        QTest::addRow("%d", id) << id;
}

void SkinBitmapsTest::magentaIsTransparentOnThumbsAndStrips()
{
    QFETCH(int, id);
    const QImage raw(SkinBitmapPath(id));
    QCOMPARE(raw.pixel(0, 0) & 0xFFFFFF, 0xFF00FFu); // the key in the stored bitmap
    const QImage loaded = LoadSkinImage(id);
    QCOMPARE(qAlpha(loaded.pixel(0, 0)), 0);
    const QPoint centre(loaded.width() / (id == 135 || id == 141 ? 6 : 2), loaded.height() / 2);
    QCOMPARE(qAlpha(loaded.pixel(centre)), 255);
}

void SkinBitmapsTest::missingIdGivesNullImage()
{
    QVERIFY(LoadSkinImage(99999).isNull());
}

QTEST_GUILESS_MAIN(SkinBitmapsTest)
#include "SkinBitmapsTest.moc"
