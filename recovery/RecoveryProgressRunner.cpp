#include "recovery/RecoveryProgressRunner.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include "base/UiText.h"
#include <QCoreApplication>

namespace {
constexpr int kSteps = 1000;

struct Outcome {
    bool ok = false;
    QString error;
};
} // namespace

const QString RecoveryProgressRunner::kLabel = QString::fromUtf8(QT_TRANSLATE_NOOP("RecoveryProgressRunner", "녹화 파일을 복구하고 있습니다..."));

RecoveryProgressRunner::RecoveryProgressRunner(QWidget* owner, RecordingRecovery::Codecs codecs)
    : m_owner(owner), m_codecs(std::move(codecs))
{
}

bool RecoveryProgressRunner::Run(const QString& cutPath, const QString& cardRoot, const QString& outPath,
                                 QString* error, bool* cancelled)
{
    std::atomic<bool> cancel{false};
    std::atomic<int> steps{0};
    QProgressDialog dialog(m_owner);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setWindowTitle(QCoreApplication::translate("RecoveryProgressRunner", "녹화 파일 복구"));
    dialog.setLabelText(UiText("RecoveryProgressRunner", kLabel));
    dialog.setCancelButtonText(QCoreApplication::translate("RecoveryProgressRunner", "취소"));
    dialog.setRange(0, kSteps);
    dialog.setMinimumDuration(0);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setValue(0);

    const RecordingRecovery::Codecs codecs = m_codecs;
    // Only the worker touches the files; it reports through the two atomics.
    QFuture<Outcome> future = QtConcurrent::run([=, &cancel, &steps]() {
        RecordingRecovery recovery(codecs);
        Outcome outcome;
        const QString reference = recovery.FindReference(cutPath, cardRoot, &outcome.error);
        if (reference.isEmpty() || cancel)
            return outcome;
        outcome.ok = recovery
                         .Recover(cutPath, reference, outPath,
                                  [&](std::uint64_t done, std::uint64_t total) {
                                      steps = total ? static_cast<int>(done * kSteps / total) : 0;
                                      return !cancel;
                                  },
                                  &outcome.error)
                         .has_value();
        return outcome;
    });
    QFutureWatcher<Outcome> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<Outcome>::finished, &loop, &QEventLoop::quit);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&cancel]() { cancel = true; });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &dialog, [&]() { dialog.setValue(steps); });
    tick.start(100);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    const Outcome outcome = future.result();
    // A cancel that came after the last byte was written leaves a whole file: keep it.
    if (cancelled)
        *cancelled = !outcome.ok && cancel;
    if (error)
        *error = outcome.error;
    return outcome.ok;
}
