#include "display/VideoWindow.h"

#include <QtTest>

class VideoWindowTest : public QObject {
    Q_OBJECT
private slots:
    void paintsNewestFrameStretchedToWholeWindow()
    {
        VideoWindow w(402);
        w.resize(120, 60);
        QCOMPARE(w.controlId(), 402);
        QCOMPARE(w.clientSize(), QSize(120, 60));
        QCOMPARE(w.grab().toImage().pixelColor(60, 30), QColor(Qt::black));

        // A 4 x 2 picture: red row over blue row, a green pixel at the top right.
        QImage frame(4, 2, QImage::Format_RGB32);
        frame.fill(Qt::red);
        for (int x = 0; x < 4; ++x)
            frame.setPixelColor(x, 1, Qt::blue);
        frame.setPixelColor(3, 0, Qt::green);
        w.presentFrame(frame);
        const QImage shown = w.grab().toImage();
        QCOMPARE(shown.size(), QSize(120, 60));
        QCOMPARE(shown.pixelColor(5, 5), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(5, 55), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(115, 5), QColor(Qt::green));

        // The newest frame wins; repainting keeps it.
        QImage next(2, 2, QImage::Format_RGB32);
        next.fill(Qt::yellow);
        w.presentFrame(next);
        w.repaintFrame();
        QCOMPARE(w.grab().toImage().pixelColor(60, 30), QColor(Qt::yellow));
        w.clearFrame();
        QCOMPARE(w.grab().toImage().pixelColor(60, 30), QColor(Qt::black));
    }
};

QTEST_MAIN(VideoWindowTest)
#include "VideoWindowTest.moc"
