// Off-screen drawing and the bitmap holders.
#include "skin/CMemBm.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxBitmap.h"

#include <QImage>
#include <QPainter>
#include <QTest>

class SkinDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void memoryDcKeepsLogicalCoordinates();
    void memoryDcWithoutRectCoversClipBox();
    void memoryDcStartsWithBackgroundColour();
    void memBmLoadsOnceAndReleasesSafely();
    void drawBackgroundStretchesToWindowSize();
};

void SkinDrawingTest::memoryDcKeepsLogicalCoordinates()
{
    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
        QPainter p(&target);
        CMemoryDC dc(p, QRect(40, 30, 20, 20), Qt::blue);
        dc->fillRect(QRect(45, 35, 2, 2), Qt::red);
        QCOMPARE(target.pixelColor(45, 35), QColor(Qt::black)); // nothing reaches the target before the end
    }
    QCOMPARE(target.pixelColor(45, 35), QColor(Qt::red));
    QCOMPARE(target.pixelColor(40, 30), QColor(Qt::blue));
    QCOMPARE(target.pixelColor(39, 30), QColor(Qt::black)); // outside the rectangle untouched
    QCOMPARE(target.pixelColor(60, 50), QColor(Qt::black));
}

void SkinDrawingTest::memoryDcWithoutRectCoversClipBox()
{
    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter p(&target);
    p.setClipRect(QRect(10, 20, 30, 40));
    {
        CMemoryDC dc(p);
        QCOMPARE(dc.rect(), QRect(10, 20, 30, 40));
    }
    p.setClipping(false);
    CMemoryDC whole(p);
    QCOMPARE(whole.rect(), QRect(0, 0, 100, 100));
}

void SkinDrawingTest::memoryDcStartsWithBackgroundColour()
{
    QImage target(50, 50, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
        QPainter p(&target);
        p.setBackground(QColor(54, 54, 54));
        CMemoryDC dc(p, QRect(0, 0, 50, 50));
    }
    QCOMPARE(target.pixelColor(25, 25), QColor(54, 54, 54));
}

void SkinDrawingTest::memBmLoadsOnceAndReleasesSafely()
{
    CMemBm bm;
    QVERIFY(!bm.loaded);
    bm.Release(); // never loaded: nothing changes
    QCOMPARE(bm.width, 0);
    QVERIFY(!bm.LoadFromResource(99999));
    QVERIFY(!bm.loaded);
    QVERIFY(bm.LoadFromResource(142));
    QCOMPARE(QSize(bm.width, bm.height), QSize(126, 42));
    QVERIFY(bm.LoadFromResource(590)); // a second load keeps the first bitmap
    QCOMPARE(QSize(bm.width, bm.height), QSize(126, 42));
    bm.Release();
    bm.Release();
    QVERIFY(!bm.loaded);
    QCOMPARE(bm.height, 0);
}

void SkinDrawingTest::drawBackgroundStretchesToWindowSize()
{
    CVxBitmap small;
    small.Load(nullptr, 180); // 413 x 23
    QImage target(1200, 700, QImage::Format_RGB32);
    target.fill(Qt::black);
    QPainter p(&target);
    small.DrawBackground(p);
    p.end();
    QVERIFY(target.pixelColor(1129, 639) != QColor(Qt::black));
    QCOMPARE(target.pixelColor(1130, 639), QColor(Qt::black));
    QCOMPARE(target.pixelColor(1129, 640), QColor(Qt::black));

    CVxBitmap missing;
    missing.Load(nullptr, 99999);
    QVERIFY(missing.isNull());
    QPainter p2(&target);
    missing.DrawBackground(p2); // draws nothing, no crash
}

QTEST_GUILESS_MAIN(SkinDrawingTest)
#include "SkinDrawingTest.moc"
