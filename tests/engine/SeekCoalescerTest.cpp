// Slider drags: one seek in flight at a time, the latest position wins, the
// release lands exactly.
#include "engine/SeekCoalescer.h"
#include "fakes/FakePlaybackEngine.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
// Seeks stay in flight until the test settles them.
class HeldSeekEngine : public FakePlaybackEngine {
public:
    bool StartSeekMs(std::chrono::milliseconds position, bool exact) override
    {
        started << QStringLiteral("%1%2").arg(position.count()).arg(exact ? QStringLiteral(" exact") : QString());
        return accept;
    }
    void settle() { emit seekSettled(); }
    QStringList started;
    bool accept = true;
};
} // namespace

class SeekCoalescerTest : public QObject {
    Q_OBJECT
private slots:
    void movesDuringASeekReplaceEachOther()
    {
        HeldSeekEngine engine;
        SeekCoalescer seeker(&engine);
        seeker.Move(100);
        for (int ms = 200; ms <= 900; ms += 100)
            seeker.Move(ms);
        QCOMPARE(engine.started, QStringList{"100"});
        engine.settle();
        QCOMPARE(engine.started, (QStringList{"100", "900"}));
        engine.settle();
        QVERIFY(!seeker.InFlight());
        // A settled graph takes the next move at once.
        seeker.Move(1000);
        QCOMPARE(engine.started.last(), QStringLiteral("1000"));
    }

    void releaseLandsExactlyAfterTheSeekInFlight()
    {
        HeldSeekEngine engine;
        SeekCoalescer seeker(&engine);
        QSignalSpy released(&seeker, &SeekCoalescer::releasedSettled);
        seeker.Move(100);
        seeker.Move(400);
        seeker.Release(450);
        QCOMPARE(engine.started, QStringList{"100"});
        engine.settle();
        QCOMPARE(engine.started, (QStringList{"100", "450 exact"}));
        QCOMPARE(released.size(), 0);
        engine.settle();
        QCOMPARE(released.size(), 1);
        QCOMPARE(released.at(0).at(0).toInt(), 450);
        // A settle nobody waits for changes nothing.
        engine.settle();
        QCOMPARE(engine.started.size(), 2);
    }

    void unansweredSeekDoesNotHoldTheSliderForGood()
    {
        HeldSeekEngine engine;
        SeekCoalescer seeker(&engine, 50);
        QSignalSpy released(&seeker, &SeekCoalescer::releasedSettled);
        seeker.Move(100);
        seeker.Release(700);
        QTRY_COMPARE(engine.started, (QStringList{"100", "700 exact"}));
        QTRY_COMPARE(released.size(), 1);
    }

    void refusedOrForgottenSeeksLeaveNothingPending()
    {
        HeldSeekEngine engine;
        SeekCoalescer seeker(&engine);
        engine.accept = false;
        seeker.Move(100);
        QVERIFY(!seeker.InFlight());
        engine.accept = true;
        seeker.Move(200);
        seeker.Move(300);
        seeker.Reset(); // another recording opens
        engine.settle();
        QCOMPARE(engine.started, (QStringList{"100", "200"}));
    }
};

QTEST_GUILESS_MAIN(SeekCoalescerTest)
#include "SeekCoalescerTest.moc"
