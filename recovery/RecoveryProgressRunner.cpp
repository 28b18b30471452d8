#include "recovery/RecoveryProgressRunner.h"

#include "base/UiText.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

namespace {
constexpr int kSteps = 1000;
} // namespace

const QString RecoveryProgressRunner::kLabel = QString::fromUtf8(QT_TRANSLATE_NOOP("RecoveryProgressRunner", "녹화 파일을 복구하고 있습니다..."));

RecoveryProgressRunner::RecoveryProgressRunner(QWidget* owner, RecordingRecovery::Codecs codecs)
    : m_owner(owner), m_codecs(std::move(codecs))
{
    QObject::connect(&m_watcher, &QFutureWatcher<Result<void>>::finished, [this] { finished(); });
    QObject::connect(&m_tick, &QTimer::timeout, [this] {
        if (m_dialog)
            m_dialog->setValue(*m_steps);
    });
}

RecoveryProgressRunner::~RecoveryProgressRunner()
{
    if (m_running) {
        *m_cancel = true;
        m_future.waitForFinished();
    }
}

void RecoveryProgressRunner::Start(const QString& cutPath, const QString& cardRoot, const QString& outPath, Done done)
{
    if (m_running) {
        done(Result<void>::Failure(QCoreApplication::translate("RecoveryProgressRunner", "다른 복구가 진행 중입니다.")),
             false);
        return;
    }
    m_running = true;
    m_done = std::move(done);
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_steps = std::make_shared<std::atomic<int>>(0);

    m_dialog = std::make_unique<QProgressDialog>(m_owner);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setWindowTitle(QCoreApplication::translate("RecoveryProgressRunner", "녹화 파일 복구"));
    m_dialog->setLabelText(UiText("RecoveryProgressRunner", kLabel));
    m_dialog->setCancelButtonText(QCoreApplication::translate("RecoveryProgressRunner", "취소"));
    m_dialog->setRange(0, kSteps);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setValue(0);
    QObject::connect(m_dialog.get(), &QProgressDialog::canceled, m_dialog.get(), [cancel = m_cancel] { *cancel = true; });
    m_tick.start(100);

    // Only the worker touches the files; it reports through the two atomics.
    m_future = QtConcurrent::run([codecs = m_codecs, cutPath, cardRoot, outPath, cancel = m_cancel, steps = m_steps]() {
        RecordingRecovery recovery(codecs);
        QString error;
        const QString reference = recovery.FindReference(cutPath, cardRoot, &error);
        if (reference.isEmpty() || *cancel)
            return Result<void>::Failure(error);
        const bool ok = recovery
                            .Recover(cutPath, reference, outPath,
                                     [&](std::uint64_t done, std::uint64_t total) {
                                         *steps = total ? static_cast<int>(done * kSteps / total) : 0;
                                         return !*cancel;
                                     },
                                     &error)
                            .has_value();
        return ok ? Result<void>() : Result<void>::Failure(error);
    });
    m_watcher.setFuture(m_future);
}

void RecoveryProgressRunner::finished()
{
    m_tick.stop();
    m_dialog.reset();
    m_running = false;
    const Result<void> outcome = m_future.result();
    // A cancel that came after the last byte was written leaves a whole file: keep it.
    const bool cancelled = !outcome && *m_cancel;
    if (Done done = std::exchange(m_done, {}))
        done(outcome, cancelled);
}
