// The viewer's main window with the real engine; driven by bench/mainwindow.sh.
//   halcyon-bench-mainwin first-picture CARD N  double-click row 0 N times; ms until both
//                                               video windows hold a new picture
//   halcyon-bench-mainwin play CARD             double-click row 0 and play it to its end
//   halcyon-bench-mainwin switch CARD N         while one recording plays, double-click the
//                                               other N times (rows 0 and 1 in turn); ms from the
//                                               click until both windows hold a picture of the
//                                               new recording, everything counted; then the stop
//                                               command; the longest stall of the event loop
//                                               during the clicks and the stop
// CARD: a card folder (INFINITE and EVENT folders) whose first recording is the one measured.
#include "app/CVxMainFrame.h"
#include "app/PlaybackController.h"
#include "app/ViewerCore.h"
#include "card/RecordingLibrary.h"
#include "display/VideoWindow.h"
#include "engine/GstPlaybackEngine.h"
#include "listctrl/CHTMLListCtrl.h"
#include "card/DriveProvider.h"
#include "SpinUntil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class OneDrive : public DriveProvider {
public:
    explicit OneDrive(const QString& root) : m_root(root) {}
    QList<DriveInfo> Drives() const override { return {DriveInfo{m_root, true, false}}; }

private:
    QString m_root;
};

struct Viewer {
    GstPlaybackEngine* engine = nullptr;
    std::unique_ptr<ViewerCore> core;
    std::unique_ptr<CVxMainFrame> frame;

    explicit Viewer(const QString& card)
    {
        MainFrameServices s;
        s.checkMediaComponents = [] { return 1; };
        auto e = std::make_unique<GstPlaybackEngine>();
        if (qEnvironmentVariableIsSet("HALCYON_BENCH_AUDIO_SINK"))
            e->SetAudioSinkFactory(qgetenv("HALCYON_BENCH_AUDIO_SINK"));
        engine = e.get();
        const QString root = card.endsWith(QLatin1Char('/')) ? card : card + QLatin1Char('/');
        core = std::make_unique<ViewerCore>(ViewerCore::Parts{std::move(e), std::make_unique<OneDrive>(root), nullptr});
        frame = std::make_unique<CVxMainFrame>(*core, std::move(s));
        frame->LoadFrame();
        frame->show();
        SpinUntil([this] { return frame->recordingList()->GetRowCount() > 0; }, 10000);
    }
};

// Counts the paint passes a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The longest time the event loop went without running a 1 ms timer: how long
// the UI thread was kept from input and painting.
class StallMeter : public QObject {
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_since.restart());
        });
    }
    void Start()
    {
        m_longest = 0;
        m_since.start();
        m_timer.start();
    }
    qint64 Stop()
    {
        m_timer.stop();
        return std::max(m_longest, m_since.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int firstPicture(const QString& card, int runs)
{
    Viewer v(card);
    if (v.frame->recordingList()->GetRowCount() == 0)
        return 1;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        v.frame->videoWindow(0)->clearFrame();
        v.frame->videoWindow(1)->clearFrame();
        QElapsedTimer t;
        t.start();
        v.frame->controller().ActivateRow(0);
        const bool ok = SpinUntil([&] { return !v.frame->videoWindow(0)->frame().isNull()
                                                  && !v.frame->videoWindow(1)->frame().isNull(); },
                                     10000);
        if (!ok)
            return 1;
        ms.push_back(double(t.elapsed()));
    }
    std::printf("double-click -> first picture of both windows: median %.0f ms over %d runs (min %.0f, max %.0f)\n",
                median(ms), runs, *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()));
    return 0;
}

int switchWhilePlaying(const QString& card, int runs)
{
    Viewer v(card);
    if (v.frame->recordingList()->GetRowCount() < 2)
        return 1;
    PlaybackController& c = v.frame->controller();
    QString started;
    QObject::connect(&c, &PlaybackController::recordingStarted, [&](const QString& path) { started = path; });
    const auto bothPictures = [&] {
        return !v.frame->videoWindow(0)->frame().isNull() && !v.frame->videoWindow(1)->frame().isNull();
    };
    // Clicked from the event loop, as the list's double-click is.
    const auto click = [&](int row) { QTimer::singleShot(0, v.frame.get(), [&c, row] { c.ActivateRow(row); }); };
    click(0);
    if (!SpinUntil([&] { return !started.isEmpty() && bothPictures(); }, 10000))
        return 1;
    std::vector<double> ms, stalls;
    StallMeter meter;
    for (int i = 0; i < runs; ++i) {
        SpinUntil([] { return false; }, 1000); // it plays a while
        const int row = (i + 1) % 2;
        const QString path = v.frame->library().GetRecording(v.frame->library().shownCategory(), row)->path;
        started.clear();
        QElapsedTimer t;
        meter.Start();
        t.start();
        click(row);
        if (!SpinUntil([&] { return started == path && bothPictures(); }, 10000))
            return 1;
        ms.push_back(double(t.elapsed()));
        SpinUntil([] { return false; }, 100); // what follows the first pictures
        stalls.push_back(double(meter.Stop()));
    }
    SpinUntil([] { return false; }, 1000);
    meter.Start();
    QElapsedTimer stop;
    stop.start();
    bool stopped = false;
    QTimer::singleShot(0, v.frame.get(), [&] {
        c.StopCommand();
        stopped = true;
    });
    SpinUntil([&] { return stopped; }, 10000);
    const qint64 stopMs = stop.elapsed();
    SpinUntil([] { return false; }, 200);
    const qint64 stopStall = meter.Stop();
    std::printf("switch while playing, click -> both new pictures: median %.0f ms over %d runs (min %.0f, max %.0f)\n",
                median(ms), runs, *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()));
    std::printf("longest UI stall: during a switch %.0f ms (median of runs %.0f), stop command %lld ms "
                "(returned after %lld ms)\n",
                *std::max_element(stalls.begin(), stalls.end()), median(stalls), (long long)stopStall,
                (long long)stopMs);
    return 0;
}

int play(const QString& card)
{
    Viewer v(card);
    if (v.frame->recordingList()->GetRowCount() == 0)
        return 1;
    PaintCounter window, video1, video2;
    v.frame->installEventFilter(&window);
    v.frame->videoWindow(0)->installEventFilter(&video1);
    v.frame->videoWindow(1)->installEventFilter(&video2);
    QElapsedTimer wall;
    wall.start();
    v.frame->controller().ActivateRow(0);
    const auto duration = v.engine->GetDurationMs();
    SpinUntil([&] { return v.engine->GetPositionMs() + std::chrono::milliseconds(50) >= duration; },
              int(duration.count()) + 20000);
    std::printf("viewer played %llu ms in %lld ms wall; paint passes: window %d, video 1 %d, video 2 %d\n",
                (unsigned long long)duration.count(), (long long)wall.elapsed(), window.paints, video1.paints, video2.paints);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("play"))
        return play(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("switch"))
        return switchWhilePlaying(args[2], args.size() > 3 ? args[3].toInt() : 9);
    if (args.size() >= 3 && args[1] == QLatin1String("first-picture"))
        return firstPicture(args[2], args.size() > 3 ? args[3].toInt() : 10);
    std::fprintf(stderr, "usage: halcyon-bench-mainwin play|first-picture|switch CARD [N]\n");
    return 2;
}
