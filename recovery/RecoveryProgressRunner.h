#pragma once
// Runs a recording recovery on a worker thread behind a progress dialog with
// a cancel button. Start returns at once; the UI thread keeps running its own
// event loop, and the outcome comes back to it when the worker has finished.
#include "mp4/RecordingRecovery.h"
#include "recovery/RecoveryOffer.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QTimer>
#include <atomic>
#include <memory>

class QProgressDialog;
class QWidget;

class RecoveryProgressRunner : public RecoveryOffer::IRunner {
public:
    // codecs are called on the worker thread.
    RecoveryProgressRunner(QWidget* owner, RecordingRecovery::Codecs codecs);
    // A recovery still running is cancelled and waited for.
    ~RecoveryProgressRunner() override;

    void Start(const QString& cutPath, const QString& cardRoot, const QString& outPath, Done done) override;
    bool IsRunning() const { return m_running; }

    static const QString kLabel;

private:
    void finished();

    QWidget* m_owner;
    RecordingRecovery::Codecs m_codecs;
    bool m_running = false;
    // Shared with the worker, which reports through them.
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::shared_ptr<std::atomic<int>> m_steps;
    QFuture<Result<void>> m_future;
    QFutureWatcher<Result<void>> m_watcher;
    QTimer m_tick;
    std::unique_ptr<QProgressDialog> m_dialog;
    Done m_done;
};
