#pragma once
// The viewer's incident export, without widgets: from the playing recording
// and its position to a proposal (the range around the impact nearest the
// position, else 10 s either side; side by side; a file in the user's video
// folder, never on the card unless the user picks it), the user's choice checked, one IncidentExportJob at a time with its progress
// shown, and the outcome told: where the files went, or why nothing was
// written. The dialog and the progress window are thin views behind
// IIncidentExportView; tests hand in a script.
//
// Threading: UI thread only; the job's worker reports back by queued calls.
#include "config/DeviceSettings.h"
#include "engine/IClipEncoder.h"
#include "telemetry/RecordingTelemetry.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class IncidentExportJob;
class IPrompt;

struct IncidentExportChoice {
    std::uint32_t fromMs = 0;
    std::uint32_t toMs = 0;
    ClipLayout layout = ClipLayout::SideBySide;
    QString output;
    bool copy = false;   // cut without re-encoding; layout does not apply
};

class IIncidentExportView {
public:
    virtual ~IIncidentExportView() = default;
    // The dialog, filled in with proposal; the user's choice, or nothing when
    // the dialog was cancelled. durationMs bounds the range.
    virtual std::optional<IncidentExportChoice> AskChoice(const IncidentExportChoice& proposal,
                                                          std::uint32_t durationMs) = 0;
    // The progress window (opened by the first call, raised by later ones);
    // its cancel button calls IncidentExportFlow::Cancel.
    virtual void ShowProgress(int percent) = 0;
    virtual void CloseProgress() = 0;
};

class IncidentExportFlow : public QObject {
    Q_OBJECT
public:
    using EncoderFactory = std::function<std::unique_ptr<IClipEncoder>()>;
    // The title of its dialogs and messages.
    static QString Caption();

    IncidentExportFlow(IIncidentExportView& view, IPrompt& prompt, EncoderFactory createEncoder,
                       QObject* parent = nullptr);
    // A running export is cancelled and waited for; nothing of it stays.
    ~IncidentExportFlow() override;

    // Where the proposal puts the clip until the user picks another folder
    // (the folder of the last export from then on).
    void SetDefaultFolder(const QString& folder) { m_folder = folder; }
    QString DefaultFolder() const { return m_folder; }
    // The user's video folder, else the home folder.
    static QString StandardFolder();

    // Ctrl+E: asks, checks and starts the export of source (the open
    // recording, empty when none) around positionMs. While one runs, only
    // its progress window comes up again.
    // The telemetry is taken as it is now: the viewer may move on to another
    // recording while the dialog is up.
    void Start(const QString& source, std::uint32_t positionMs, std::uint32_t durationMs,
               RecordingTelemetry telemetry, const DeviceSettings& settings);
    void Cancel();
    bool IsRunning() const { return m_job != nullptr; }

    // "<recording>_<from>-<to>.mp4" in folder ("1m05s"), with " (2)", " (3)"…
    // before the suffix while the clip, its GPX or its record would replace a file.
    static QString ProposedOutput(const QString& source, const QString& folder, std::uint32_t fromMs,
                                  std::uint32_t toMs);
    // Why choice cannot be exported from source (empty when it can); a name
    // without suffix gets ".mp4" first.
    static QString Check(IncidentExportChoice& choice, const QString& source, std::uint32_t durationMs);

signals:
    // The job ended (after the user was told).
    void finished(const ClipExportResult& result);

private:
    void onFinished(const ClipExportResult& result);

    IIncidentExportView& m_view;
    IPrompt& m_prompt;
    EncoderFactory m_createEncoder;
    QString m_folder;
    std::unique_ptr<IncidentExportJob> m_job;
    int m_percent = 0;
};
