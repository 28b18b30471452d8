#pragma once
// Runs a recording recovery on a worker thread behind a progress dialog with
// a cancel button; the UI thread keeps painting meanwhile.
#include "mp4/RecordingRecovery.h"
#include "recovery/RecoveryOffer.h"

class QWidget;

class RecoveryProgressRunner : public RecoveryOffer::IRunner {
public:
    // codecs are called on the worker thread.
    RecoveryProgressRunner(QWidget* owner, RecordingRecovery::Codecs codecs);

    bool Run(const QString& cutPath, const QString& cardRoot, const QString& outPath, QString* error,
             bool* cancelled) override;

    static const QString kLabel;

private:
    QWidget* m_owner;
    RecordingRecovery::Codecs m_codecs;
};
