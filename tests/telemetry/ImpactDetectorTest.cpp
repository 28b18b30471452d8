#include "telemetry/ImpactDetector.h"

#include <QTest>
#include <map>
#include <tuple>

using Samples = std::vector<CVxGSensorInfo>;
using Changes = std::map<std::uint32_t, std::tuple<int, int, int>>;
Q_DECLARE_METATYPE(Changes)
Q_DECLARE_METATYPE(std::vector<std::uint32_t>)

namespace {
// A car standing still for durationMs (10 samples a second, 1 g on Z, the
// sensor's jitter of a step or two), with the given samples replaced.
Samples drive(std::uint32_t durationMs, const Changes& changes)
{
    Samples s;
    for (std::uint32_t t = 50, n = 0; t < durationMs; t += 100, ++n) {
        CVxGSensorInfo g;
        g.timeStamp = t;
        const int jitter = int(n * 7 % 5) - 2;
        g.x = std::uint8_t(128 + jitter);
        g.y = std::uint8_t(128 - jitter);
        g.z = std::uint8_t(192 + jitter / 2);
        if (auto it = changes.find(t); it != changes.end()) {
            g.x = std::uint8_t(std::get<0>(it->second));
            g.y = std::uint8_t(std::get<1>(it->second));
            g.z = std::uint8_t(std::get<2>(it->second));
        }
        s.push_back(g);
    }
    return s;
}

Changes ramp(std::uint32_t fromMs, std::uint32_t toMs, int x0, int x1)
{
    Changes c;
    for (std::uint32_t t = fromMs; t <= toMs; t += 100)
        c[t] = {x0 + int(std::int64_t(x1 - x0) * (t - fromMs) / (toMs - fromMs)), 128, 192};
    for (std::uint32_t t = toMs + 100; t < toMs + 3000; t += 100)
        c[t] = {x1, 128, 192};
    return c;
}

const std::tuple<int, int, int> kSaturated{255, 0, 255};
} // namespace

class ImpactDetectorTest : public QObject {
    Q_OBJECT
private slots:
    void findsImpacts_data()
    {
        QTest::addColumn<std::uint32_t>("durationMs");
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<std::vector<std::uint32_t>>("times");
        QTest::addColumn<QList<double>>("peaks");

        // (255, 0, 255) after about (128, 128, 192) is a change of 191 steps.
        const double saturated = 2.98;
        QTest::newRow("no samples") << 0u << Changes{} << 1.5 << std::vector<std::uint32_t>{} << QList<double>{};
        QTest::newRow("quiet drive") << 20000u << Changes{} << 1.5 << std::vector<std::uint32_t>{} << QList<double>{};
        QTest::newRow("one spike") << 5000u << Changes{{2050u, kSaturated}} << 1.5
                                   << std::vector<std::uint32_t>{2050} << QList<double>{saturated};
        QTest::newRow("two spikes 1 s apart are one impact")
            << 6000u << Changes{{2050u, {238, 128, 192}}, {3050u, kSaturated}} << 1.5
            << std::vector<std::uint32_t>{2050} << QList<double>{saturated};
        QTest::newRow("two spikes 3 s apart are two")
            << 8000u << Changes{{2050u, kSaturated}, {5050u, {128, 0, 192}}} << 1.5
            << std::vector<std::uint32_t>{2050, 5050} << QList<double>{saturated, 2.0};
        QTest::newRow("slow ramp of 2 g is no impact") << 6000u << ramp(1050, 3050, 128, 255) << 1.5
                                                       << std::vector<std::uint32_t>{} << QList<double>{};
        // 96 steps are exactly 1.5 g: only a change beyond the threshold counts.
        QTest::newRow("at the threshold") << 4000u << ramp(2050, 2150, 128, 224) << 1.5
                                          << std::vector<std::uint32_t>{} << QList<double>{};
        QTest::newRow("just beyond it") << 4000u << ramp(2050, 2150, 128, 225) << 1.5
                                        << std::vector<std::uint32_t>{2150} << QList<double>{1.52};
        QTest::newRow("a higher threshold") << 5000u << Changes{{2050u, kSaturated}} << 3.0
                                            << std::vector<std::uint32_t>{} << QList<double>{};
        QTest::newRow("a threshold of 0 finds nothing") << 5000u << Changes{{2050u, kSaturated}} << 0.0
                                                        << std::vector<std::uint32_t>{} << QList<double>{};
    }
    void findsImpacts()
    {
        QFETCH(std::uint32_t, durationMs);
        QFETCH(Changes, changes);
        QFETCH(double, threshold);
        QFETCH(std::vector<std::uint32_t>, times);
        QFETCH(QList<double>, peaks);
        const std::vector<Impact> found = ImpactDetector::Find(drive(durationMs, changes), threshold);
        QCOMPARE(found.size(), times.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            QCOMPARE(found[i].timeMs, times[i]);
            QVERIFY2(qAbs(found[i].peakG - peaks[int(i)]) < 0.05, qPrintable(QString::number(found[i].peakG)));
        }
    }

    void stepsThroughImpactsFromThePosition_data()
    {
        QTest::addColumn<std::uint32_t>("position");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("previous");
        // impacts at 1000 (target 0), 10000 (target 8000) and 30000 (target 28000)
        QTest::newRow("start") << 0u << 1 << -1;
        QTest::newRow("just jumped to the second") << 8000u << 2 << 0;
        QTest::newRow("a moment after that jump") << 8900u << 2 << 0;
        QTest::newRow("past the second") << 12000u << 2 << 1;
        QTest::newRow("after the last") << 40000u << -1 << 2;
    }
    void stepsThroughImpactsFromThePosition()
    {
        QFETCH(std::uint32_t, position);
        QFETCH(int, next);
        QFETCH(int, previous);
        const std::vector<Impact> impacts{{1000, 2}, {10000, 2}, {30000, 2}};
        QCOMPARE(ImpactDetector::NextIndex(impacts, position, 2000), next);
        QCOMPARE(ImpactDetector::PreviousIndex(impacts, position, 2000), previous);
    }
};

QTEST_GUILESS_MAIN(ImpactDetectorTest)
#include "ImpactDetectorTest.moc"
