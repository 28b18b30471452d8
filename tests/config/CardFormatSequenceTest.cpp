#include "CardFixture.h"
#include "config/CardFormatSequence.h"
#include "config/SafeFileWrite.h"

#include <QSignalSpy>
#include <QTest>

namespace {
struct Run {
    CardFolder card;
    QTemporaryDir temp;
    FakeCardFormatter formatter;
    QStringList events;
    QStringList told;
    bool answer = true;
    std::unique_ptr<CardFormatSequence> sequence;

    explicit Run(bool withTimeFile = true)
    {
        card.make(withTimeFile);
        formatter.cardRoot = card.root();
        formatter.mountAt = card.root();
        CardFormatSequence::Hooks hooks;
        hooks.askYesNo = [this](const QString&, const QString& text) {
            events << QStringLiteral("ask");
            told << text;
            return answer;
        };
        hooks.tell = [this](const QString&, const QString& text) { told << text; };
        hooks.stopPlayback = [this] { events << QStringLiteral("stop"); };
        hooks.holdCardMonitor = [this] { events << QStringLiteral("hold"); };
        hooks.releaseCardMonitor = [this] { events << QStringLiteral("release"); };
        sequence = std::make_unique<CardFormatSequence>(formatter, hooks);
        sequence->tempDir = temp.path();
    }
    CardFormatSequence::Outcome run()
    {
        QSignalSpy done(sequence.get(), &CardFormatSequence::finished);
        if (!sequence->Start(card.root()) || !done.wait(5000))
            return CardFormatSequence::Outcome(-1);
        return sequence->LastOutcome();
    }
    QStringList copies() const { return QDir(temp.path()).entryList(QDir::Files | QDir::Hidden); }
};
const QStringList kWholeCard{"EVENT/.hidden", "INFINITE/0315/20120315_142501_I01.mp4", "__system_ini.cfg",
                             "__time_ini.cfg"};
} // namespace

class CardFormatSequenceTest : public QObject {
    Q_OBJECT
private slots:
    void formatKeepsOnlyTheSettingsFiles_data()
    {
        QTest::addColumn<bool>("withTimeFile");
        QTest::addColumn<QString>("mountedAs"); // below the card's folder
        QTest::newRow("mounted where it was") << true << "CARD";
        QTest::newRow("mounted elsewhere") << true << "CARD1";
        QTest::newRow("absent time file stays absent") << false << "CARD";
    }
    void formatKeepsOnlyTheSettingsFiles()
    {
        QFETCH(bool, withTimeFile);
        QFETCH(QString, mountedAs);
        Run r(withTimeFile);
        const QString mounted = r.card.dir.path() + "/" + mountedAs + "/";
        r.formatter.mountAt = mounted;
        QCOMPARE(r.run(), CardFormatSequence::Outcome::Formatted);

        QCOMPARE(r.sequence->MountedRoot(), mounted);
        QStringList expected{"__system_ini.cfg"};
        if (withTimeFile)
            expected << "__time_ini.cfg";
        QCOMPARE(filesBelow(mounted), expected);
        QCOMPARE(readFile(mounted + "__system_ini.cfg"), settingsBytes());
        if (withTimeFile)
            QCOMPARE(readFile(mounted + "__time_ini.cfg"), timeBytes());
        QCOMPARE(r.copies(), QStringList());
        // Playback is stopped and the monitor held before the user is asked.
        QCOMPARE(r.events, (QStringList{"hold", "stop", "ask", "release"}));
        QVERIFY(r.told.first().contains("/dev/sdb1"));
        QVERIFY(r.told.first().contains("CARD"));
        QVERIFY(r.told.first().contains("7629MB"));
    }

    void cancelOrFailureKeepsTheCard_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<CardFormatter::Outcome>("formatOutcome");
        QTest::addColumn<bool>("cardChanges");
        QTest::addColumn<CardFormatSequence::Outcome>("outcome");
        QTest::addColumn<bool>("told");
        QTest::newRow("user says no") << false << CardFormatter::Outcome::Done << false
                                      << CardFormatSequence::Outcome::Cancelled << false;
        QTest::newRow("authorisation dismissed") << true << CardFormatter::Outcome::Cancelled << false
                                                 << CardFormatSequence::Outcome::Cancelled << false;
        QTest::newRow("format fails") << true << CardFormatter::Outcome::Failed << false
                                      << CardFormatSequence::Outcome::FormatFailed << true;
        QTest::newRow("card swapped while asking") << true << CardFormatter::Outcome::Done << true
                                                   << CardFormatSequence::Outcome::Refused << true;
    }
    void cancelOrFailureKeepsTheCard()
    {
        QFETCH(bool, answer);
        QFETCH(CardFormatter::Outcome, formatOutcome);
        QFETCH(bool, cardChanges);
        QFETCH(CardFormatSequence::Outcome, outcome);
        QFETCH(bool, told);
        Run r;
        r.answer = answer;
        r.formatter.outcome = formatOutcome;
        r.formatter.changeAfterFirstIdentify = cardChanges;
        QCOMPARE(r.run(), outcome);
        QCOMPARE(filesBelow(r.card.root()), kWholeCard);
        QCOMPARE(readFile(r.card.root() + "__system_ini.cfg"), settingsBytes());
        QCOMPARE(r.copies(), QStringList());
        QCOMPARE(r.events.last(), QStringLiteral("release"));
        QCOMPARE(r.told.size(), told ? 2 : 1);
        if (cardChanges)
            QCOMPARE(r.formatter.formats, 0);
    }

    void refusalOrFailedBackupTouchesNothing_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<CardFormatSequence::Outcome>("outcome");
        QTest::newRow("not a removable card") << "is not a removable drive" << CardFormatSequence::Outcome::Refused;
        QTest::newRow("settings file unreadable") << "" << CardFormatSequence::Outcome::BackupFailed;
    }
    void refusalOrFailedBackupTouchesNothing()
    {
        QFETCH(QString, refusal);
        QFETCH(CardFormatSequence::Outcome, outcome);
        Run r;
        r.formatter.refusal = refusal;
        if (refusal.isEmpty()) {
            // A folder where the clock file should be cannot be copied.
            QFile::remove(r.card.root() + "__time_ini.cfg");
            QDir().mkpath(r.card.root() + "__time_ini.cfg");
        }
        QCOMPARE(r.run(), outcome);
        QCOMPARE(r.formatter.formats, 0);
        QVERIFY(r.events.isEmpty()); // playback untouched, no question asked
        QCOMPARE(r.told.size(), 1);
        if (!refusal.isEmpty())
            QVERIFY(r.told.first().contains(refusal));
        QCOMPARE(r.copies(), QStringList());
        QCOMPARE(readFile(r.card.root() + "__system_ini.cfg"), settingsBytes());
    }

    void failedRestoreKeepsTheCopies_data()
    {
        QTest::addColumn<bool>("mounts");
        QTest::newRow("card cannot be written") << true;
        QTest::newRow("card not mounted in time") << false;
    }
    void failedRestoreKeepsTheCopies()
    {
        QFETCH(bool, mounts);
        Run r;
        if (mounts)
            SetWriteFaultHook([](const QString& path) { return path.endsWith("__system_ini.cfg"); });
        else
            r.formatter.mountAt.clear();
        const CardFormatSequence::Outcome outcome = r.run();
        SetWriteFaultHook(nullptr);
        QCOMPARE(outcome, CardFormatSequence::Outcome::RestoreFailed);
        const QStringList kept = r.sequence->KeptCopies();
        QCOMPARE(kept.size(), 2);
        QCOMPARE(readFile(kept[0]), settingsBytes());
        QCOMPARE(readFile(kept[1]), timeBytes());
        for (const QString& path : kept)
            QVERIFY2(r.told.last().contains(path), qPrintable(r.told.last()));
        QCOMPARE(r.events.last(), QStringLiteral("release"));
        for (const QString& path : kept)
            QFile::remove(path);
    }
};

QTEST_GUILESS_MAIN(CardFormatSequenceTest)
#include "CardFormatSequenceTest.moc"
