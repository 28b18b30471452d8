#include "app/MainFrameFileCommands.h"

#include "app/MainFrameServices.h"
#include "app/PlaybackController.h"
#include "app/Playlist.h"
#include "app/ViewerCore.h"
#include "card/CopyProgressDialog.h"
#include "card/HTMLListTickedRows.h"
#include "card/IPrompt.h"
#include "card/PlatformFileDialogs.h"
#include "card/RecordingFileOps.h"
#include "card/RecordingLibrary.h"
#include "card/SnapshotExport.h"
#include "incident/IncidentExportDialogs.h"
#include "incident/IncidentExportFlow.h"
#include "listctrl/CHTMLListCtrl.h"
#include "recovery/RecoveryOffer.h"
#include "recovery/RecoveryProgressRunner.h"

MainFrameFileCommands::MainFrameFileCommands(QWidget& owner, ViewerCore& core, const MainFrameServices& services)
    : m_owner(owner), m_core(core), m_services(services)
{
}

MainFrameFileCommands::~MainFrameFileCommands()
{
    m_core.controller().SetRecoveryOffer({});
}

IFileDialogs& MainFrameFileCommands::fileDialogs()
{
    if (m_services.fileDialogs)
        return *m_services.fileDialogs;
    if (!m_ownDialogs)
        m_ownDialogs = std::make_unique<PlatformFileDialogs>(&m_owner);
    return *m_ownDialogs;
}

void MainFrameFileCommands::OpenFiles()
{
    PlaybackController& c = m_core.controller();
    const bool wasRunning = c.PauseForDialog();
    const QStringList paths = fileDialogs().OpenFileNames(RecordingFileOps::kMovieFilter, QStringLiteral("mp4"));
    // A paused recording stays paused; nothing starts playing.
    m_core.playlist().AddFiles(paths, wasRunning);
}

void MainFrameFileCommands::Copy()
{
    if (!m_services.prompt || !m_list || (m_copy && m_copy->IsRunning()))
        return;
    HTMLListTickedRows rows(*m_list);
    std::vector<CopyJob> jobs = RecordingFileOps::PlanCopy(rows, fileDialogs());
    // Every row is unticked at the end, also when a dialog was cancelled.
    const auto finish = [this](const CopyReport& report) {
        if (!m_list || !m_services.prompt)
            return;
        HTMLListTickedRows ticked(*m_list);
        RecordingFileOps::FinishCopy(ticked, *m_services.prompt, report);
    };
    if (jobs.empty())
        return finish({});
    if (!m_copy)
        m_copy = std::make_unique<CopyProgressDialog>(&m_owner);
    m_copy->Start(std::move(jobs), finish);
}

void MainFrameFileCommands::Delete()
{
    if (!m_services.prompt || !m_list)
        return;
    HTMLListTickedRows rows(*m_list);
    RecordingFileOps::DeleteTickedRecordings(rows, *m_services.prompt, [this](int list, const QString& path) {
        m_core.library().RemoveRecording(list, path);
    });
}

void MainFrameFileCommands::Snapshot()
{
    if (m_services.prompt)
        m_core.controller().SaveSnapshot(fileDialogs(), *m_services.prompt);
}

void MainFrameFileCommands::ExportIncident()
{
    if (!m_services.prompt)
        return;
    if (!m_exportFlow) {
        m_exportDialogs = std::make_unique<IncidentExportDialogs>(&m_owner, fileDialogs(), [this] { m_exportFlow->Cancel(); });
        m_exportFlow = std::make_unique<IncidentExportFlow>(*m_exportDialogs, *m_services.prompt, m_services.createClipEncoder);
    }
    const PlaybackController& c = m_core.controller();
    const auto clamp = [](std::chrono::milliseconds t) {
        return std::uint32_t(qBound<std::int64_t>(0, t.count(), UINT32_MAX));
    };
    m_exportFlow->Start(c.HasGraph() ? c.currentFile() : QString(), clamp(c.PositionMs()), clamp(c.DurationMs()),
                        c.telemetry(), m_core.config().live);
}

void MainFrameFileCommands::OfferRecoveries()
{
    if (!m_services.recoveryCodecs)
        return;
    m_recoveryRunner = std::make_unique<RecoveryProgressRunner>(&m_owner, m_services.recoveryCodecs());
    m_core.controller().SetRecoveryOffer([this](const QString& path, std::function<void(const QString&)> done) {
        if (!m_services.prompt)
            return done({});
        RecoveryOffer offer(*m_services.prompt, fileDialogs(), *m_recoveryRunner);
        offer.OfferAfterFailedOpen(path, m_core.library().cardRoot(), RecoveryOffer::UserVideoFolder(), std::move(done));
    });
}
