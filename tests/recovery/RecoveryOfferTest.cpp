// The question after "Can not OpenFile" for a cut recording, the save dialog
// and the progress runner that recovers off the UI thread.
#include "engine/RecordingFixture.h"
#include "engine/RecoveryDecoder.h"
#include "recovery/RecoveryOffer.h"
#include "recovery/RecoveryProgressRunner.h"
#include "card/OpsTestDoubles.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QApplication>
#include <QFile>
#include <QtTest>
#include <optional>

namespace {
class ScriptedRunner : public RecoveryOffer::IRunner {
public:
    bool succeed = true;
    bool userCancels = false;
    QStringList calls;

    void Start(const QString& cutPath, const QString& cardRoot, const QString& outPath, Done done) override
    {
        calls << cutPath + QLatin1Char('|') + cardRoot + QLatin1Char('|') + outPath;
        done(succeed && !userCancels ? Result<void>() : Result<void>::Failure(QStringLiteral("no finished recording fits")),
             userCancels);
    }
};

// Each worker thread gets its own decoder.
RecordingRecovery::Codecs threadCodecs()
{
    return {[](const QByteArray& config, const std::uint8_t* data, std::size_t size, bool exact) {
                thread_local RecoveryDecoder decoder;
                return decoder.aacFrames(config, data, size, exact);
            },
            &RecoveryDecoder::decodesPicture};
}

bool copyCut(const QString& from, const QString& to, qint64 bytes)
{
    QFile in(from), out(to);
    return in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) && out.write(in.read(bytes)) == bytes;
}
} // namespace

class RecoveryOfferTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        av_log_set_level(AV_LOG_QUIET);
        m_finished = m_fixture.make(QStringLiteral("INF_20261209_052500.mp4"), {QStringLiteral("--duration"), QStringLiteral("2")});
        QVERIFY(!m_finished.isEmpty());
        m_cut = m_fixture.path(QStringLiteral("INF_20261209_052600.mp4"));
        QVERIFY(copyCut(m_finished, m_cut, QFileInfo(m_finished).size() / 2));
    }

    void asksOnlyForCutRecordings_data()
    {
        QTest::addColumn<bool>("cutFile");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("runnerSucceeds");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("recovered");
        QTest::newRow("finished file: nothing asked") << false << true << "/tmp/x.mp4" << true << 0 << 0 << 0 << 0 << false;
        QTest::newRow("user says no") << true << false << "/tmp/x.mp4" << true << 1 << 0 << 0 << 0 << false;
        QTest::newRow("save dialog cancelled") << true << true << "" << true << 1 << 1 << 0 << 0 << false;
        QTest::newRow("recovered") << true << true << "/tmp/x.mp4" << true << 1 << 1 << 1 << 0 << true;
        QTest::newRow("recovery fails: reason shown") << true << true << "/tmp/x.mp4" << false << 1 << 1 << 1 << 1 << false;
    }

    void asksOnlyForCutRecordings()
    {
        QFETCH(bool, cutFile);
        QFETCH(bool, yes);
        QFETCH(QString, saveAs);
        QFETCH(bool, runnerSucceeds);
        ScriptedPrompt prompt;
        prompt.answer = yes;
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = saveAs;
        ScriptedRunner runner;
        runner.succeed = runnerSucceeds;
        RecoveryOffer offer(prompt, dialogs, runner);
        const QString videos = m_fixture.path(QStringLiteral("Videos"));
        QString result;
        int answers = 0;
        offer.OfferAfterFailedOpen(cutFile ? m_cut : m_finished, QStringLiteral("/card/"), videos,
                                   [&](const QString& recovered) {
                                       result = recovered;
                                       ++answers;
                                   });
        QCOMPARE(answers, 1);
        QTEST(int(prompt.questions.size()), "questions");
        QTEST(int(dialogs.calls.size()), "dialogs");
        QTEST(int(runner.calls.size()), "runs");
        QTEST(int(prompt.messages.size()), "messages");
        QTEST(!result.isEmpty(), "recovered");
        if (!prompt.questions.isEmpty())
            QVERIFY(prompt.questions.first().endsWith(RecoveryOffer::kQuestion));
        // The save dialog starts in the user's video folder, never on the card.
        if (!dialogs.calls.isEmpty())
            QCOMPARE(dialogs.calls.first(),
                     QStringLiteral("save|%1/INF_20261209_052600_recovered.mp4|mp4|Movie Files (*.mp4)|confirm").arg(videos));
        if (!runner.calls.isEmpty())
            QCOMPARE(runner.calls.first(), m_cut + QStringLiteral("|/card/|/tmp/x.mp4"));
        if (!prompt.messages.isEmpty())
            QVERIFY(prompt.messages.first().contains(QLatin1String("no finished recording fits")));
    }

    void runnerRecoversOffTheUiThread()
    {
        RecoveryProgressRunner runner(nullptr, threadCodecs());
        const QString out = m_fixture.path(QStringLiteral("out.mp4"));
        std::optional<Result<void>> outcome;
        bool cancelled = true;
        const auto done = [&](const Result<void>& r, bool c) {
            outcome = r;
            cancelled = c;
        };
        // Start returns while the worker recovers; the outcome comes back
        // through the event loop. A second start meanwhile is turned away.
        runner.Start(m_cut, QString(), out, done);
        QVERIFY(runner.IsRunning() && !outcome);
        std::optional<Result<void>> second;
        runner.Start(m_cut, QString(), m_fixture.path(QStringLiteral("out2.mp4")),
                     [&](const Result<void>& r, bool) { second = r; });
        QVERIFY(second && !*second);
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 60000);
        QVERIFY2(*outcome, qPrintable(outcome->error()));
        QVERIFY(!cancelled);
        QVERIFY(!QFile::exists(m_fixture.path(QStringLiteral("out2.mp4"))));
        QVERIFY(RecordingRecovery::IsCut(m_cut));   // the original stays as it was
        QVERIFY(!RecordingRecovery::IsCut(out) && QFileInfo(out).size() > 10000);

        // Alone in its folder: no reference, and the reason says so.
        QTemporaryDir lonely;
        const QString alone = lonely.filePath(QStringLiteral("cut.mp4"));
        QVERIFY(QFile::copy(m_cut, alone));
        outcome.reset();
        runner.Start(alone, QString(), lonely.filePath(QStringLiteral("o.mp4")), done);
        QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 60000);
        QVERIFY(!*outcome);
        QVERIFY(!cancelled);
        QVERIFY2(outcome->error().contains(QLatin1String("no finished recording")), qPrintable(outcome->error()));
        QVERIFY(!QFile::exists(lonely.filePath(QStringLiteral("o.mp4"))));
    }

private:
    RecordingFixture m_fixture;
    QString m_finished, m_cut;
};

QTEST_MAIN(RecoveryOfferTest)
#include "RecoveryOfferTest.moc"
