#pragma once
// One incident export running on a worker thread while the viewer goes on
// playing. Progress and the end arrive as signals on the thread that owns the
// job (the UI thread); the encoder is only touched by the worker, except for
// Cancel, which any thread may call.
#include "config/DeviceSettings.h"
#include "engine/IClipEncoder.h"
#include "telemetry/RecordingTelemetry.h"

#include <QObject>
#include <atomic>
#include <memory>

class QThread;

class IncidentExportJob : public QObject {
    Q_OBJECT
public:
    IncidentExportJob(std::unique_ptr<IClipEncoder> encoder, ClipExportRequest request, RecordingTelemetry telemetry,
                      DeviceSettings settings, QObject* parent = nullptr);
    // Cancels a running export and waits for it (nothing is left behind).
    ~IncidentExportJob() override;

    void Start();
    void Cancel();
    bool IsRunning() const { return m_running; }
    const ClipExportRequest& Request() const { return m_request; }

signals:
    void progressChanged(int percent);
    void finished(const ClipExportResult& result);

private:
    std::unique_ptr<IClipEncoder> m_encoder;
    ClipExportRequest m_request;
    RecordingTelemetry m_telemetry;
    DeviceSettings m_settings;
    QThread* m_thread = nullptr;
    bool m_running = false;
    std::atomic<bool> m_cancel{false};
};
