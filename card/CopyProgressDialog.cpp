#include "card/CopyProgressDialog.h"

#include <QCoreApplication>
#include <QMutex>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>

namespace {
constexpr int kSteps = 1000;
}

// What the worker and the UI thread share: the worker writes the progress,
// the dialog's cancel button the flag.
struct CopyProgressDialog::Shared {
    std::atomic<bool> cancel{false};
    std::atomic<int> steps{0};
    QMutex mutex;
    QString fileName;
};

CopyProgressDialog::CopyProgressDialog(QWidget* owner) : m_owner(owner), m_shared(std::make_shared<Shared>())
{
    connect(&m_watcher, &QFutureWatcher<CopyReport>::finished, this, &CopyProgressDialog::finished);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        if (!m_dialog)
            return;
        QMutexLocker lock(&m_shared->mutex);
        m_dialog->setLabelText(m_shared->fileName);
        lock.unlock();
        m_dialog->setValue(m_shared->steps);
    });
}

CopyProgressDialog::~CopyProgressDialog()
{
    if (m_running) {
        m_shared->cancel = true;
        m_future.waitForFinished();
    }
}

RecordingFileOps::CopyProgress CopyProgressDialog::Progress() const
{
    return [shared = m_shared](const QString& fileName, qint64 copied, qint64 total) {
        {
            QMutexLocker lock(&shared->mutex);
            shared->fileName = fileName;
        }
        shared->steps = total > 0 ? int(copied * kSteps / total) : kSteps;
        return !shared->cancel;
    };
}

void CopyProgressDialog::Start(std::vector<CopyJob> jobs, std::function<void(const CopyReport&)> done)
{
    if (m_running)
        return;
    m_running = true;
    m_done = std::move(done);
    m_shared = std::make_shared<Shared>();
    m_dialog = std::make_unique<QProgressDialog>(m_owner);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
    m_dialog->setRange(0, kSteps);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setCancelButtonText(QCoreApplication::translate("CopyProgressDialog", "취소"));
    m_dialog->setValue(0);
    connect(m_dialog.get(), &QProgressDialog::canceled, this, [shared = m_shared] { shared->cancel = true; });
    m_tick.start(100);
    m_future = QtConcurrent::run([jobs = std::move(jobs), progress = Progress()] {
        return RecordingFileOps::RunCopy(jobs, progress);
    });
    m_watcher.setFuture(m_future);
}

void CopyProgressDialog::finished()
{
    m_tick.stop();
    m_dialog.reset();
    m_running = false;
    if (auto done = std::exchange(m_done, {}))
        done(m_future.result());
}
