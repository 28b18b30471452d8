#pragma once
// The copy command's copying: the files are copied on a worker thread behind
// a progress dialog with a cancel button, which appears only when the copy
// takes more than half a second. The UI thread keeps running its own event
// loop; the report comes back to it when the worker has finished.
#include "card/RecordingFileOps.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QProgressDialog;
class QWidget;

class CopyProgressDialog : public QObject {
public:
    explicit CopyProgressDialog(QWidget* owner);
    // A copy still running is cancelled and waited for.
    ~CopyProgressDialog() override;

    // Copies the jobs; done runs on the UI thread with the report. Nothing
    // happens while a copy runs.
    void Start(std::vector<CopyJob> jobs, std::function<void(const CopyReport&)> done);
    bool IsRunning() const { return m_running; }

    // What the worker reports after every chunk (any thread); false once the
    // user pressed cancel.
    RecordingFileOps::CopyProgress Progress() const;

private:
    struct Shared;
    void finished();

    QWidget* m_owner;
    bool m_running = false;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QProgressDialog> m_dialog;
    QTimer m_tick;
    QFuture<CopyReport> m_future;
    QFutureWatcher<CopyReport> m_watcher;
    std::function<void(const CopyReport&)> m_done;
};
