#include "tools/recgen/RoadScene.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <QtTest>
#include <memory>

namespace {
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;

FramePtr draw(const RoadView& view, int w = 320, int h = 180)
{
    FramePtr f(av_frame_alloc());
    f->format = AV_PIX_FMT_YUV420P;
    f->width = w;
    f->height = h;
    if (av_frame_get_buffer(f.get(), 0) < 0)
        return nullptr;
    RoadScene::draw(f.get(), view);
    return f;
}

int luma(const AVFrame* f, int x, int y) { return f->data[0][y * f->linesize[0] + x]; }
int blueDiff(const AVFrame* f, int x, int y) { return f->data[1][(y / 2) * f->linesize[1] + x / 2]; }

// First row from the top where the grass begins (the only green in the picture).
int horizonRow(const AVFrame* f, int x)
{
    for (int y = 0; y < f->height; ++y)
        if (blueDiff(f, x, y) < 118)
            return y;
    return -1;
}

// The top row of the nearest lane dash: the lane line runs 1.75 m left of the
// camera, 1.3 m above the road; looking back it is on the right.
int nearestDashTop(const AVFrame* f, bool rear)
{
    int top = -1;
    bool inDash = false;
    for (int y = f->height / 2; y < f->height * 13 / 14; ++y) {
        const double below = y + 0.5 - 0.46 * f->height;
        const int x = int(f->width / 2.0 + (rear ? 1 : -1) * 1.75 * below / 1.3);
        bool white = false;
        for (int dx = -1; dx <= 1; ++dx)
            white = white || (x + dx >= 0 && x + dx < f->width && luma(f, x + dx, y) > 200);
        if (white && !inDash)
            top = y;
        inDash = white;
    }
    return top;
}
} // namespace

class RoadSceneTest : public QObject {
    Q_OBJECT
private slots:
    void skyAboveRoadBelow()
    {
        for (bool rear : {false, true}) {
            RoadView view;
            view.rear = rear;
            auto f = draw(view);
            QVERIFY(f);
            QVERIFY2(blueDiff(f.get(), 160, 10) > 150, "the top is sky blue");
            const int horizon = horizonRow(f.get(), 5);
            QVERIFY2(horizon > 60 && horizon < 95, qPrintable(QString::number(horizon)));
            const int road = luma(f.get(), 160, 150);
            QVERIFY2(road > 60 && road < 100 && std::abs(blueDiff(f.get(), 160, 150) - 128) < 8, "grey road ahead");
        }
    }

    // Driving on, the dashes come towards the front camera and move away from the rear one:
    // the far end of the nearest dash moves down the picture, or up behind.
    void dashesFollowTheDrive()
    {
        for (bool rear : {false, true}) {
            RoadView view;
            view.rear = rear;
            view.travelledM = 100.0;
            const int before = nearestDashTop(draw(view).get(), rear);
            view.travelledM += 1.0;
            const int after = nearestDashTop(draw(view).get(), rear);
            QVERIFY(before > 0 && after > 0);
            QVERIFY2(rear ? after < before : after > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        }
    }

    void impactJoltsThenSettles()
    {
        double x = 0, y = 0;
        RoadScene::jolt(-0.1, x, y);
        QCOMPARE(x, 0.0);
        QCOMPARE(y, 0.0);
        RoadScene::jolt(1.0, x, y);
        QCOMPARE(y, 0.0);
        RoadScene::jolt(0.0, x, y);
        QVERIFY(std::abs(y) >= 0.05);

        RoadView still, hit;
        hit.shakeY = y;
        hit.shakeX = x;
        const int moved = horizonRow(draw(hit).get(), 5) - horizonRow(draw(still).get(), 5);
        QVERIFY2(std::abs(moved) >= 8, qPrintable(QString::number(moved)));
    }
};

QTEST_GUILESS_MAIN(RoadSceneTest)
#include "RoadSceneTest.moc"
