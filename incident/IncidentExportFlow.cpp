#include "incident/IncidentExportFlow.h"

#include "card/IPrompt.h"
#include "incident/IncidentExport.h"
#include "incident/ClipHashRecord.h"
#include "incident/IncidentExportJob.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString IncidentExportFlow::Caption()
{
    return tr("사고 영상 내보내기");
}

namespace {

QString minutesSeconds(std::uint32_t ms)
{
    const std::uint32_t s = ms / 1000;
    return QStringLiteral("%1m%2s").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// The same file, also when one of them does not exist yet.
bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.exists() ? fa.canonicalFilePath() : fa.absoluteFilePath();
    const QString cb = fb.exists() ? fb.canonicalFilePath() : fb.absoluteFilePath();
    return ca == cb;
}

} // namespace

IncidentExportFlow::IncidentExportFlow(IIncidentExportView& view, IPrompt& prompt, EncoderFactory createEncoder,
                                       QObject* parent)
    : QObject(parent), m_view(view), m_prompt(prompt), m_createEncoder(std::move(createEncoder)),
      m_folder(StandardFolder())
{
}

IncidentExportFlow::~IncidentExportFlow() = default;

QString IncidentExportFlow::StandardFolder()
{
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!movies.isEmpty() && QFileInfo(movies).isDir())
        return movies;
    return QDir::homePath();
}

QString IncidentExportFlow::ProposedOutput(const QString& source, const QString& folder, std::uint32_t fromMs,
                                           std::uint32_t toMs)
{
    const QString base = QStringLiteral("%1_%2-%3").arg(QFileInfo(source).completeBaseName(), minutesSeconds(fromMs),
                                                        minutesSeconds(toMs));
    const QDir dir(folder);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QString clip = dir.filePath(name + QStringLiteral(".mp4"));
        if (!QFileInfo::exists(clip) && !QFileInfo::exists(IncidentExport::GpxPathFor(clip))
            && !QFileInfo::exists(ClipHashRecord::PathFor(clip)))
            return clip;
    }
}

QString IncidentExportFlow::Check(IncidentExportChoice& choice, const QString& source, std::uint32_t durationMs)
{
    if (choice.toMs <= choice.fromMs)
        return tr("끝 시각은 시작 시각보다 뒤여야 합니다.");
    if (choice.toMs > durationMs)
        return tr("구간이 영상의 길이를 넘습니다.");
    if (choice.output.trimmed().isEmpty())
        return tr("저장할 파일 이름을 정하십시오.");
    QFileInfo out(choice.output);
    if (out.suffix().isEmpty()) {
        choice.output += QStringLiteral(".mp4");
        out = QFileInfo(choice.output);
    }
    // The clip is written under a temporary name and renamed over the target:
    // aimed at the recording itself it would replace it.
    if (sameFile(choice.output, source) || sameFile(IncidentExport::GpxPathFor(choice.output), source))
        return tr("원본 영상 파일에는 저장할 수 없습니다.");
    if (out.isDir())
        return tr("같은 이름의 폴더가 있습니다: %1").arg(choice.output);
    if (!out.absoluteDir().exists())
        return tr("저장할 폴더가 없습니다: %1").arg(out.absolutePath());
    return {};
}

void IncidentExportFlow::Start(const QString& source, std::uint32_t positionMs, std::uint32_t durationMs,
                               RecordingTelemetry telemetry, const DeviceSettings& settings)
{
    if (m_job) {
        m_view.ShowProgress(m_percent);
        return;
    }
    if (source.isEmpty() || durationMs == 0) {
        m_prompt.ShowMessage(Caption(), tr("재생 중인 영상이 없습니다."));
        return;
    }
    const auto [from, to] = IncidentExport::DefaultRange(positionMs, durationMs, telemetry.impacts);
    IncidentExportChoice proposal{from, to, ClipLayout::SideBySide, ProposedOutput(source, m_folder, from, to)};
    IncidentExportChoice choice;
    for (;;) {
        const std::optional<IncidentExportChoice> asked = m_view.AskChoice(proposal, durationMs);
        if (!asked)
            return;
        choice = *asked;
        const QString why = Check(choice, source, durationMs);
        if (why.isEmpty()) {
            QStringList existing;
            for (const QString& f :
                 {choice.output, IncidentExport::GpxPathFor(choice.output), ClipHashRecord::PathFor(choice.output)})
                if (QFileInfo::exists(f))
                    existing << f;
            if (existing.isEmpty()
                || m_prompt.AskYesNo(Caption(), tr("이미 있는 파일을 바꿉니다:\n%1\n바꾸시겠습니까?")
                                                   .arg(existing.join(QLatin1Char('\n')))))
                break;
        } else {
            m_prompt.ShowMessage(Caption(), why);
        }
        proposal = choice;
    }

    std::unique_ptr<IClipEncoder> encoder = m_createEncoder ? m_createEncoder() : nullptr;
    if (!encoder) {
        m_prompt.ShowMessage(Caption(), tr("이 컴퓨터에서는 영상을 내보낼 수 없습니다 (필요한 GStreamer 구성 요소가 없습니다)."));
        return;
    }
    m_folder = QFileInfo(choice.output).absolutePath();
    ClipExportRequest request;
    request.source = source;
    request.output = choice.output;
    request.fromMs = choice.fromMs;
    request.toMs = choice.toMs;
    request.layout = choice.layout;
    request.copy = choice.copy;
    m_job = std::make_unique<IncidentExportJob>(std::move(encoder), std::move(request), std::move(telemetry), settings);
    connect(m_job.get(), &IncidentExportJob::progressChanged, this, [this](int percent) {
        m_percent = percent;
        m_view.ShowProgress(percent);
    });
    connect(m_job.get(), &IncidentExportJob::finished, this, &IncidentExportFlow::onFinished);
    m_percent = 0;
    m_view.ShowProgress(0);
    m_job->Start();
}

void IncidentExportFlow::Cancel()
{
    if (m_job)
        m_job->Cancel();
}

void IncidentExportFlow::onFinished(const ClipExportResult& result)
{
    // The job has emitted from its own queued call; it goes once that returns.
    std::unique_ptr<IncidentExportJob> job = std::move(m_job);
    const QString output = job->Request().output;
    job.release()->deleteLater();
    m_view.CloseProgress();
    switch (result.status) {
    case ClipExportResult::Status::Done:
        m_prompt.ShowInformation(Caption(), tr("내보냈습니다.\n%1\n%2\n%3")
                                            .arg(output, IncidentExport::GpxPathFor(output), ClipHashRecord::PathFor(output)));
        break;
    case ClipExportResult::Status::Failed:
        m_prompt.ShowMessage(Caption(), tr("내보내지 못했습니다. 파일은 남기지 않았습니다.\n%1").arg(result.message));
        break;
    case ClipExportResult::Status::Cancelled:
        break; // the user asked for it
    }
    emit finished(result);
}
