#include "incident/IncidentExportJob.h"

#include "incident/IncidentExport.h"

#include <QThread>
#include <atomic>
#include <cmath>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

IncidentExportJob::IncidentExportJob(std::unique_ptr<IClipEncoder> encoder, ClipExportRequest request,
                                     RecordingTelemetry telemetry, DeviceSettings settings, QObject* parent)
    : QObject(parent),
      m_encoder(std::move(encoder)),
      m_request(std::move(request)),
      m_telemetry(std::move(telemetry)),
      m_settings(settings)
{
}

IncidentExportJob::~IncidentExportJob()
{
    if (m_thread) {
        Cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void IncidentExportJob::Start()
{
    if (m_thread)
        return;
    m_running = true;
    // The worker reaches this object only through queued calls, which Qt drops
    // once the object is gone; the destructor waits for the worker anyway.
    m_thread = QThread::create([this] {
        // Playback comes first: on Linux the nice value belongs to the thread,
        // and the threads the encoder starts from here inherit it.
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 10);
        auto percentOf = std::make_shared<std::atomic<int>>(-1);
        const ClipExportResult result = IncidentExport::Run(
            *m_encoder, m_request, m_telemetry, m_settings, [this, percentOf](double fraction) {
                const int percent = int(std::floor(fraction * 100.0));
                if (percentOf->exchange(percent) != percent)
                    QMetaObject::invokeMethod(this, [this, percent] { emit progressChanged(percent); },
                                              Qt::QueuedConnection);
            },
            &m_cancel);
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                m_running = false;
                emit finished(result);
            },
            Qt::QueuedConnection);
    });
    m_thread->setObjectName(QStringLiteral("incident export"));
    m_thread->start();
}

void IncidentExportJob::Cancel()
{
    m_cancel = true;
    m_encoder->Cancel();
}
