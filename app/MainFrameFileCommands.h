#pragma once
// The main window's commands on files: open files, copy and delete the ticked
// recordings, the snapshot, the incident clip, and the recovery offered after a
// failed open. Dialogs go through IFileDialogs (the desktop's own unless the
// services hand in others), questions through the services' prompt, read at
// each command (it may be set after the window). Playback is only asked, through
// the controller. UI thread only.
#include <functional>
#include <memory>

class CHTMLListCtrl;
class CopyProgressDialog;
class IFileDialogs;
class IncidentExportDialogs;
class IncidentExportFlow;
class QWidget;
class RecoveryProgressRunner;
class ViewerCore;
struct MainFrameServices;

class MainFrameFileCommands {
public:
    // All three outlive the commands.
    MainFrameFileCommands(QWidget& owner, ViewerCore& core, const MainFrameServices& services);
    ~MainFrameFileCommands();

    // The recording list whose ticked rows are copied and deleted; null once it is gone.
    void SetList(CHTMLListCtrl* list) { m_list = list; }
    IFileDialogs& fileDialogs();

    void OpenFiles();
    void Copy();
    void Delete();
    void Snapshot();
    // The incident clip of the open recording around the position.
    void ExportIncident();
    IncidentExportFlow* incidentExport() const { return m_exportFlow.get(); }
    // After "Can not OpenFile": recover a recording the camera could not finish.
    void OfferRecoveries();

private:
    QWidget& m_owner;
    ViewerCore& m_core;
    const MainFrameServices& m_services;
    CHTMLListCtrl* m_list = nullptr;
    std::unique_ptr<IFileDialogs> m_ownDialogs;
    std::unique_ptr<RecoveryProgressRunner> m_recoveryRunner;
    std::unique_ptr<CopyProgressDialog> m_copy;
    // Made at the first export; the flow goes first (it cancels a running job).
    std::unique_ptr<IncidentExportDialogs> m_exportDialogs;
    std::unique_ptr<IncidentExportFlow> m_exportFlow;
};
