// The map pop-up with its real browser engine; driven by bench/map.sh.
//   halcyon-bench-map track        ms from the map command to the first frame that shows the
//                                  recording's track: right after start (page still loading)
//                                  and again later (page loaded while hidden)
//   halcyon-bench-map feed SECONDS the pop-up shown, one new fix a second through the 350 ms
//                                  tick; prints CPU seconds of this process and its browser
//                                  processes, and the browser processes' memory (PSS)
//   halcyon-bench-map idle SECONDS the same tick without any map (baseline)
#include "display/CMapView.h"
#include "display/CVxBrowser.h"
#include "display/MapWebEngineSetup.h"
#include "SpinUntil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <map>
#include <unistd.h>

namespace {
MapConfig offlineConfig()
{
    MapConfig c;
    c.server.setScheme(MapConfig::kBundledScheme);
    c.server.setHost(MapConfig::kBundledHost);
    c.tiles.clear();
    return c;
}

// A 10-minute drive at 1 Hz: (longitude, latitude).
std::vector<QPointF> drive(int points)
{
    std::vector<QPointF> t;
    for (int i = 0; i < points; ++i)
        t.emplace_back(126.97 + 0.0002 * i, 37.55 + 0.0001 * i + 0.002 * std::sin(i / 40.0));
    return t;
}

bool trackDrawn(CMapView* view)
{
    bool answered = false, drawn = false;
    view->page()->runJavaScript(QStringLiteral("halcyonTrackDrawn"), [&](const QVariant& v) {
        drawn = v.toBool();
        answered = true;
    });
    SpinUntil([&] { return answered; }, 5000);
    return drawn;
}

// pid -> (parent, utime + stime ticks)
std::map<int, std::pair<int, long long>> processTable()
{
    std::map<int, std::pair<int, long long>> t;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = name.toInt(&ok);
        if (!ok)
            continue;
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray s = f.readAll();
        const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            continue;
        t[pid] = {fields[1].toInt(), fields[11].toLongLong() + fields[12].toLongLong()};
    }
    return t;
}

std::vector<int> family()
{
    const auto table = processTable();
    std::vector<int> pids{int(getpid())};
    for (std::size_t i = 0; i < pids.size(); ++i)
        for (const auto& [pid, row] : table)
            if (row.first == pids[i])
                pids.push_back(pid);
    return pids;
}

double familyCpuSeconds()
{
    const auto table = processTable();
    long long ticks = 0;
    for (int pid : family())
        if (auto it = table.find(pid); it != table.end())
            ticks += it->second.second;
    return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

long long childrenPssKb()
{
    long long kb = 0;
    for (int pid : family()) {
        if (pid == getpid())
            continue;
        QFile f(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("Pss:"))
                kb += line.mid(4).trimmed().split(' ').value(0).toLongLong();
    }
    return kb;
}

int track()
{
    const std::vector<QPointF> path = drive(600);
    QElapsedTimer clock;
    clock.start();
    CVxBrowser b(offlineConfig());
    b.ShowTrack(path);
    b.ToggleShown();
    if (!SpinUntil([&] { return trackDrawn(b.mapView()); }, 30000))
        return 1;
    std::printf("map command at start -> track drawn: %lld ms\n", clock.elapsed());
    for (int round = 0; round < 3; ++round) {
        b.ToggleShown();
        b.ShowTrack(drive(600 + round));
        SpinUntil([] { return false; }, 500);
        clock.restart();
        b.ToggleShown();
        if (!SpinUntil([&] { return trackDrawn(b.mapView()); }, 30000))
            return 1;
        std::printf("map command, page loaded -> track drawn: %lld ms\n", clock.elapsed());
    }
    return 0;
}

int feed(int seconds, bool withMap)
{
    std::unique_ptr<CVxBrowser> b;
    const std::vector<QPointF> path = drive(600);
    if (withMap) {
        b = std::make_unique<CVxBrowser>(offlineConfig());
        b->ShowTrack(path);
        b->ToggleShown();
        if (!SpinUntil([&] { return trackDrawn(b->mapView()); }, 30000))
            return 1;
        SpinUntil([] { return false; }, 1000); // settle after start-up
    }
    const double cpu0 = familyCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    std::size_t sent = std::size_t(-1);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const std::size_t index = std::size_t(clock.elapsed() / 1000) % path.size();
        if (index == sent || !b)
            return;
        sent = index;
        const QPointF p = path[index];
        b->ShowPosition(p.y(), p.x());
        b->UpdateOverlay(int(index % 120), 1, p.y(), p.x(), QDateTime::currentDateTime());
    });
    tick.start(350);
    SpinUntil([] { return false; }, seconds * 1000);
    const double cpu = familyCpuSeconds() - cpu0;
    std::printf("%s: %.2f s CPU in %d s\n", withMap ? "map" : "idle", cpu, seconds);
    if (withMap)
        std::printf("browser processes PSS: %.1f MB\n", double(childrenPssKb()) / 1024.0);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    MapWebEngineSetup::Prepare();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("track"))
        return track();
    if (mode == QLatin1String("feed") || mode == QLatin1String("idle"))
        return feed(args.value(2, QStringLiteral("20")).toInt(), mode == QLatin1String("feed"));
    std::fprintf(stderr, "usage: halcyon-bench-map track | feed SECONDS | idle SECONDS\n");
    return 2;
}
