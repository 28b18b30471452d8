// The viewer's incident export from Ctrl+E to the message at the end, with a
// scripted dialog, a recording prompt and encoders that write, fail or wait
// for a cancel; and the dialog widgets themselves.
#include "engine/RecordingFixture.h"
#include "fakes/FakePrompt.h"
#include "card/IFileDialogs.h"
#include "incident/IncidentExportDialogs.h"
#include "incident/IncidentExportFlow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <condition_variable>
#include <deque>
#include <mutex>

Q_DECLARE_METATYPE(ClipExportResult)

namespace {

enum class Outcome { Write, Fail, WaitForCancel };

QString recording()
{
    static RecordingFixture fixture;
    static const QString path = fixture.make(QStringLiteral("rec.mp4"));
    return path;
}

// Reports half-way, then writes the output, fails, or waits until cancelled
// (it never ends on its own, so a cancel cannot come too late).
class ScriptedEncoder : public IClipEncoder {
public:
    explicit ScriptedEncoder(Outcome outcome) : m_outcome(outcome) {}
    ClipExportResult Export(const ClipExportRequest& request, const Progress& progress) override
    {
        lastRequest = request;
        progress(0.5);
        ClipExportResult r;
        r.fromMs = request.fromMs;
        r.toMs = request.toMs;
        switch (m_outcome) {
        case Outcome::Write: // the generated recording stands for the encoded clip
            QFile::remove(request.output);
            r.status = QFile::copy(recording(), request.output) ? ClipExportResult::Status::Done
                                                                : ClipExportResult::Status::Failed;
            break;
        case Outcome::Fail:
            r.message = QStringLiteral("No space left on device");
            break;
        case Outcome::WaitForCancel: {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_cancelled; });
            r.status = ClipExportResult::Status::Cancelled;
            break;
        }
        }
        return r;
    }
    void Cancel() override
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        m_wake.notify_all();
    }
    static inline ClipExportRequest lastRequest;

private:
    Outcome m_outcome;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_cancelled = false;
};

// Answers the dialog from a list (nothing left: cancelled) and records what it was shown.
class ScriptedView : public IIncidentExportView {
public:
    std::optional<IncidentExportChoice> AskChoice(const IncidentExportChoice& proposal, std::uint32_t durationMs) override
    {
        proposals.push_back(proposal);
        lastDuration = durationMs;
        if (answers.empty())
            return std::nullopt;
        const IncidentExportChoice a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowProgress(int percent) override
    {
        progressShown = true;
        percents << percent;
    }
    void CloseProgress() override { progressShown = false; }

    std::deque<IncidentExportChoice> answers;
    std::vector<IncidentExportChoice> proposals;
    std::uint32_t lastDuration = 0;
    QList<int> percents;
    bool progressShown = false;
};

class NoFileDialogs : public IFileDialogs {
public:
    QString SaveFileName(const QString&, const QString&, const QString&, bool) override { return {}; }
    QString PickFolder(const QString&) override { return {}; }
    QStringList OpenFileNames(const QString&, const QString&) override { return {}; }
};

struct FlowFixture {
    QTemporaryDir dir;
    QString source;
    ScriptedView view;
    FakePrompt prompt;
    Outcome outcome = Outcome::Write;
    int encodersMade = 0;
    bool haveEncoder = true;
    IncidentExportFlow flow{view, prompt, [this]() -> std::unique_ptr<IClipEncoder> {
                                ++encodersMade;
                                return haveEncoder ? std::make_unique<ScriptedEncoder>(outcome) : nullptr;
                            }};
    FlowFixture()
    {
        source = dir.filePath(QStringLiteral("card/EVENT/REC_0001.mp4"));
        QDir().mkpath(QFileInfo(source).absolutePath());
        QFile::copy(recording(), source);
        QDir().mkpath(dir.filePath(QStringLiteral("videos")));
        flow.SetDefaultFolder(dir.filePath(QStringLiteral("videos")));
    }
    QString out(const QString& name) const { return dir.filePath(QStringLiteral("videos/") + name); }
    // Starts at 15 s of a 60 s recording and waits for the end when a job started.
    ClipExportResult run(const RecordingTelemetry& telemetry = {})
    {
        QSignalSpy finished(&flow, &IncidentExportFlow::finished);
        flow.Start(source, 15000, 60000, telemetry, {});
        if (!flow.IsRunning())
            return {};
        if (!finished.wait(20000))
            return {};
        return finished.first().first().value<ClipExportResult>();
    }
    QStringList videos() const { return QDir(dir.filePath(QStringLiteral("videos"))).entryList(QDir::Files); }
};

} // namespace

class IncidentExportFlowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<ClipExportResult>(); }

    void checksTheChoice_data()
    {
        QTest::addColumn<int>("fromMs");
        QTest::addColumn<int>("toMs");
        QTest::addColumn<QString>("output"); // relative to the temporary folder
        QTest::addColumn<QString>("complaint");
        QTest::newRow("fine") << 5000 << 25000 << "clip.mp4" << "";
        QTest::newRow("suffix added") << 5000 << 25000 << "clip" << "";
        QTest::newRow("empty range") << 5000 << 5000 << "clip.mp4" << "끝 시각은";
        QTest::newRow("reversed") << 9000 << 5000 << "clip.mp4" << "끝 시각은";
        QTest::newRow("past the end") << 5000 << 60001 << "clip.mp4" << "길이를 넘습니다";
        QTest::newRow("no name") << 5000 << 25000 << "" << "파일 이름";
        QTest::newRow("onto the recording") << 0 << 60000 << "rec.mp4" << "원본";
        QTest::newRow("onto it without suffix") << 0 << 60000 << "rec" << "원본";
        QTest::newRow("onto it by another path") << 0 << 60000 << "sub/../rec.mp4" << "원본";
        QTest::newRow("a folder") << 0 << 60000 << "sub/dir.mp4" << "폴더가 있습니다";
        QTest::newRow("no folder") << 0 << 60000 << "gone/clip.mp4" << "폴더가 없습니다";
    }
    void checksTheChoice()
    {
        QFETCH(int, fromMs);
        QFETCH(int, toMs);
        QFETCH(QString, output);
        QFETCH(QString, complaint);
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("rec.mp4"))).open(QIODevice::WriteOnly);
        QDir(dir.path()).mkpath(QStringLiteral("sub/dir.mp4"));
        IncidentExportChoice choice{std::uint32_t(fromMs), std::uint32_t(toMs), ClipLayout::SideBySide,
                                    output.isEmpty() ? QString() : dir.filePath(output)};
        const QString why = IncidentExportFlow::Check(choice, dir.filePath(QStringLiteral("rec.mp4")), 60000);
        if (complaint.isEmpty()) {
            QVERIFY2(why.isEmpty(), qPrintable(why));
            QVERIFY(choice.output.endsWith(QStringLiteral(".mp4")));
        } else {
            QVERIFY2(why.contains(complaint), qPrintable(why));
        }
    }

    void proposesAFreeNameBesideNothing()
    {
        QTemporaryDir dir;
        const QString src = QStringLiteral("/card/EVENT/REC_0001.mp4");
        QCOMPARE(IncidentExportFlow::ProposedOutput(src, dir.path(), 65000, 85500),
                 dir.filePath(QStringLiteral("REC_0001_1m05s-1m25s.mp4")));
        // A clip of that name, then only a GPX of the next name, are both kept clear of.
        QFile(dir.filePath(QStringLiteral("REC_0001_1m05s-1m25s.mp4"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("REC_0001_1m05s-1m25s (2).gpx"))).open(QIODevice::WriteOnly);
        QCOMPARE(IncidentExportFlow::ProposedOutput(src, dir.path(), 65000, 85500),
                 dir.filePath(QStringLiteral("REC_0001_1m05s-1m25s (3).mp4")));
    }

    void exportsWhatTheUserChose()
    {
        FlowFixture f;
        IncidentExportChoice bad{9000, 3000, ClipLayout::PictureInPicture, f.out(QStringLiteral("mine.mp4"))};
        IncidentExportChoice good = bad;
        good.fromMs = 1000;
        f.view.answers = {bad, good};
        const ClipExportResult r = f.run();
        QCOMPARE(r.status, ClipExportResult::Status::Done);
        // The proposal: 10 s either side of the position, side by side, in the video folder.
        QCOMPARE(f.view.proposals.size(), std::size_t(2));
        QCOMPARE(f.view.proposals[0].fromMs, 5000u);
        QCOMPARE(f.view.proposals[0].toMs, 25000u);
        QCOMPARE(f.view.proposals[0].layout, ClipLayout::SideBySide);
        QCOMPARE(f.view.proposals[0].output, f.out(QStringLiteral("REC_0001_0m05s-0m25s.mp4")));
        QCOMPARE(f.view.lastDuration, 60000u);
        // A refused choice comes back as it was typed, after the reason.
        QCOMPARE(f.view.proposals[1].output, bad.output);
        QCOMPARE(f.view.proposals[1].layout, ClipLayout::PictureInPicture);
        QVERIFY(f.prompt.texts.first().contains(QStringLiteral("끝 시각은")));
        QCOMPARE(ScriptedEncoder::lastRequest.source, f.source);
        QCOMPARE(ScriptedEncoder::lastRequest.fromMs, 1000u);
        QCOMPARE(ScriptedEncoder::lastRequest.toMs, 3000u);
        QCOMPARE(ScriptedEncoder::lastRequest.layout, ClipLayout::PictureInPicture);
        QCOMPARE(f.videos(), (QStringList{QStringLiteral("mine.gpx"), QStringLiteral("mine.json"),
                               QStringLiteral("mine.mp4")}));
        // Good news, not a warning.
        QCOMPARE(f.prompt.informations.size(), 1);
        QCOMPARE(f.prompt.informations.last(), f.prompt.texts.last());
        QVERIFY(f.prompt.texts.last().contains(f.out(QStringLiteral("mine.mp4"))));
        QVERIFY(f.prompt.texts.last().contains(f.out(QStringLiteral("mine.gpx"))));
        QVERIFY(f.prompt.texts.last().contains(f.out(QStringLiteral("mine.json"))));
        QVERIFY(!f.view.progressShown);
        QCOMPARE(f.view.percents.last(), 50);
        QVERIFY(!f.flow.IsRunning());
    }

    // The recording's impacts, not only the position, decide the proposal.
    void proposesTheRangeAroundTheNearestImpact()
    {
        FlowFixture f;
        RecordingTelemetry telemetry;
        telemetry.impacts = {Impact{4000, 2.5}, Impact{31000, 4.0}};
        f.run(telemetry); // position 15 s: the impact at 4 s is nearer; cancelled
        QCOMPARE(f.view.proposals.size(), std::size_t(1));
        QCOMPARE(f.view.proposals[0].fromMs, 2000u);
        QCOMPARE(f.view.proposals[0].toMs, 12000u);
        QCOMPARE(f.view.proposals[0].output, f.out(QStringLiteral("REC_0001_0m02s-0m12s.mp4")));
    }

    void asksBeforeReplacing()
    {
        FlowFixture f;
        const QString existing = f.out(QStringLiteral("old.mp4"));
        QFile(existing).open(QIODevice::WriteOnly);
        f.prompt.answerYes = false;
        f.view.answers = {{0, 2000, ClipLayout::FrontOnly, existing}};
        f.run(); // "no", then the dialog is cancelled
        QCOMPARE(f.view.proposals.size(), std::size_t(2));
        QCOMPARE(f.encodersMade, 0);
        QVERIFY(f.prompt.texts.first().contains(existing));
        QCOMPARE(QFileInfo(existing).size(), 0);
        f.prompt.answerYes = true;
        f.view.answers = {{0, 2000, ClipLayout::FrontOnly, existing}};
        QCOMPARE(f.run().status, ClipExportResult::Status::Done);
    }

    void tellsWhyNothingWasWritten()
    {
        FlowFixture f;
        f.outcome = Outcome::Fail;
        f.view.answers = {{0, 2000, ClipLayout::SideBySide, f.out(QStringLiteral("x.mp4"))}};
        QCOMPARE(f.run().status, ClipExportResult::Status::Failed);
        QVERIFY(f.prompt.texts.last().contains(QStringLiteral("내보내지 못했습니다")));
        QVERIFY(f.prompt.texts.last().contains(QStringLiteral("No space left on device")));
        QVERIFY(f.prompt.informations.isEmpty());
        QVERIFY(f.videos().isEmpty());
        QVERIFY(!f.view.progressShown);
    }

    void cancelLeavesNothingAndAnotherStartOnlyShowsProgress()
    {
        FlowFixture f;
        f.outcome = Outcome::WaitForCancel;
        f.view.answers = {{0, 2000, ClipLayout::SideBySide, f.out(QStringLiteral("x.mp4"))}};
        QSignalSpy finished(&f.flow, &IncidentExportFlow::finished);
        f.flow.Start(f.source, 15000, 60000, {}, {});
        QVERIFY(f.flow.IsRunning());
        QTRY_VERIFY(f.view.percents.contains(50));
        // Ctrl+E again while it runs: no second dialog, no second job.
        f.flow.Start(f.source, 15000, 60000, {}, {});
        QCOMPARE(f.view.proposals.size(), std::size_t(1));
        QCOMPARE(f.encodersMade, 1);
        QVERIFY(f.view.progressShown);
        f.flow.Cancel();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().value<ClipExportResult>().status, ClipExportResult::Status::Cancelled);
        QVERIFY(f.prompt.texts.isEmpty());
        QVERIFY(f.videos().isEmpty());
        QVERIFY(!f.view.progressShown);
    }

    void closingTheViewerEndsARunningExport()
    {
        auto f = std::make_unique<FlowFixture>();
        f->outcome = Outcome::WaitForCancel;
        f->view.answers = {{0, 2000, ClipLayout::SideBySide, f->out(QStringLiteral("x.mp4"))}};
        f->flow.Start(f->source, 15000, 60000, {}, {});
        QVERIFY(f->flow.IsRunning());
        f.reset(); // cancels and waits for the worker; would hang or crash otherwise
    }

    void refusesWithoutARecordingOrAnEncoder()
    {
        FlowFixture f;
        f.flow.Start(QString(), 0, 0, {}, {});
        QVERIFY(f.view.proposals.empty());
        QVERIFY(f.prompt.texts.last().contains(QStringLiteral("재생 중인 영상이 없습니다")));
        f.haveEncoder = false;
        f.view.answers = {{0, 2000, ClipLayout::SideBySide, f.out(QStringLiteral("x.mp4"))}};
        f.run();
        QVERIFY(!f.flow.IsRunning());
        QVERIFY(f.prompt.texts.last().contains(QStringLiteral("내보낼 수 없습니다")));
        QVERIFY(f.videos().isEmpty());
    }

    // The widgets: what the dialog shows is what it gives back; the progress
    // window's cancel reaches the export.
    void dialogShowsAndReturnsTheChoice()
    {
        NoFileDialogs files;
        const IncidentExportChoice proposal{5000, 25000, ClipLayout::PictureInPicture, QStringLiteral("/tmp/a.mp4")};
        std::unique_ptr<QDialog> dialog(IncidentExportDialogs::MakeChoiceDialog(nullptr, files, proposal, 30000));
        IncidentExportChoice back = IncidentExportDialogs::ChoiceOf(*dialog);
        QCOMPARE(back.fromMs, 5000u);
        QCOMPARE(back.toMs, 25000u);
        QCOMPARE(back.layout, ClipLayout::PictureInPicture);
        QCOMPARE(back.output, proposal.output);
        dialog->findChild<QButtonGroup*>(QStringLiteral("layout"))->button(int(ClipLayout::FrontOnly))->click();
        QCOMPARE(IncidentExportDialogs::ChoiceOf(*dialog).layout, ClipLayout::FrontOnly);
        QVERIFY(!IncidentExportDialogs::ChoiceOf(*dialog).copy);
        // the lossless cut is one more choice of the same group
        dialog->findChild<QButtonGroup*>(QStringLiteral("layout"))->buttons().last()->click();
        QVERIFY(IncidentExportDialogs::ChoiceOf(*dialog).copy);

        int cancels = 0;
        IncidentExportDialogs view(nullptr, files, [&cancels] { ++cancels; });
        view.ShowProgress(40);
        QVERIFY(view.progress() && view.progress()->isVisible());
        QCOMPARE(view.progress()->value(), 40);
        const auto buttons = view.progress()->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        buttons.first()->click();
        QCOMPARE(cancels, 1);
        QVERIFY(view.progress()->isVisible()); // until the export has let go
        view.CloseProgress();
        QVERIFY(!view.progress());
    }
};

QTEST_MAIN(IncidentExportFlowTest)
#include "IncidentExportFlowTest.moc"
