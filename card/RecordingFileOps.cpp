#include "card/RecordingFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "base/LogCategories.h"
#include "base/UiText.h"
#include <vector>

namespace {

constexpr int kLibraryLists = 5;

std::vector<int> tickedRows(const ITickedRows& rows)
{
    std::vector<int> ticked;
    const int count = rows.RowCount();
    for (int row = 0; row < count; ++row)
        if (rows.IsTicked(row))
            ticked.push_back(row);
    return ticked;
}

// A file that is already gone counts as deleted: the recording is no longer
// on the card either way.
bool removeRecordingFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (file.remove())
        return true;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    qCWarning(vxLibrary) << "cannot delete" << path << file.errorString();
    return false;
}

} // namespace

const QString RecordingFileOps::kDeleteCaption = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", "영상 파일 삭제!"));
const QString RecordingFileOps::kDeleteQuestion = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", "선택하신 파일을 삭제하시겠습니까?"));
const QString RecordingFileOps::kDeleteFailedText = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", "다음 파일을 삭제하지 못했습니다:"));
const QString RecordingFileOps::kCopyCaption = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", "영상 파일 복사!"));
const QString RecordingFileOps::kCopyFailedText = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", "다음 파일을 복사하지 못했습니다:"));
const QString RecordingFileOps::kSameFileNote = QString::fromUtf8(QT_TRANSLATE_NOOP("RecordingFileOps", " (원본과 같은 파일)"));
const QString RecordingFileOps::kMovieFilter = QStringLiteral("Movie Files (*.mp4)");
const QString RecordingFileOps::kFolderTitle = QStringLiteral("Select a directory");

void RecordingFileOps::untickAll(ITickedRows& rows)
{
    const int count = rows.RowCount();
    for (int row = 0; row < count; ++row)
        rows.SetRowTicked(row, false);
    rows.RepaintList();
}

DeleteReport RecordingFileOps::DeleteTickedRecordings(ITickedRows& rows, IPrompt& prompt,
                                                      const RemoveRecording& removeRecording)
{
    DeleteReport report;
    const std::vector<int> ticked = tickedRows(rows);
    if (ticked.empty())
        return report;
    report.asked = true;
    if (!prompt.AskYesNo(UiText("RecordingFileOps", kDeleteCaption), UiText("RecordingFileOps", kDeleteQuestion)))
        return report;
    report.confirmed = true;

    std::vector<int> goneRows;
    QStringList failedNames;
    for (int row : ticked) {
        const QString path = rows.RowPath(row);
        if (!removeRecordingFile(path)) {
            report.failed << path;
            failedNames << rows.RowFileName(row);
            continue;
        }
        if (removeRecording)
            for (int list = 0; list < kLibraryLists; ++list)
                removeRecording(list, path);
        report.deleted << path;
        goneRows.push_back(row);
    }
    for (auto it = goneRows.rbegin(); it != goneRows.rend(); ++it)
        rows.DeleteRow(*it);
    untickAll(rows);

    if (!failedNames.isEmpty())
        prompt.ShowMessage(UiText("RecordingFileOps", kDeleteCaption),
                           UiText("RecordingFileOps", kDeleteFailedText) + QLatin1Char('\n') + failedNames.join(QLatin1Char('\n')));
    return report;
}

CopyReport RecordingFileOps::CopyTickedRecordings(ITickedRows& rows, IFileDialogs& dialogs, IPrompt& prompt,
                                                  const CopyProgress& progress, const RecordingCopier& copier)
{
    if (tickedRows(rows).empty())
        return {};
    const CopyReport report = RunCopy(PlanCopy(rows, dialogs), progress, copier);
    FinishCopy(rows, prompt, report);
    return report;
}

std::vector<CopyJob> RecordingFileOps::PlanCopy(ITickedRows& rows, IFileDialogs& dialogs)
{
    std::vector<CopyJob> jobs;
    const std::vector<int> ticked = tickedRows(rows);
    if (ticked.empty())
        return jobs;
    if (ticked.size() == 1) {
        const int row = ticked.front();
        const QString target = dialogs.SaveFileName(rows.RowFileName(row), QStringLiteral("mp4"), kMovieFilter, false);
        if (!target.isEmpty())
            jobs.push_back({rows.RowFileName(row), rows.RowPath(row), target});
    } else {
        const QString folder = dialogs.PickFolder(kFolderTitle);
        if (!folder.isEmpty()) {
            const QDir dir(folder);
            for (int row : ticked) {
                // The row text is a bare file name; never let it lead elsewhere.
                const QString name = QFileInfo(rows.RowFileName(row)).fileName();
                jobs.push_back({rows.RowFileName(row), rows.RowPath(row), dir.filePath(name)});
            }
        }
    }
    for (CopyJob& job : jobs)
        job.size = QFileInfo(job.source).size();
    return jobs;
}

CopyReport RecordingFileOps::RunCopy(const std::vector<CopyJob>& jobs, const CopyProgress& progress,
                                     const RecordingCopier& copier)
{
    CopyReport report;
    qint64 total = 0;
    for (const CopyJob& job : jobs)
        total += job.size;
    qint64 done = 0;
    for (const CopyJob& job : jobs) {
        const CopyResult result = copier.Copy(job.source, job.target, [&](qint64 copied, qint64) {
            return !progress || progress(job.name, done + copied, total);
        });
        done += job.size;
        switch (result.outcome) {
        case CopyOutcome::Copied:
            report.copied << job.target;
            break;
        case CopyOutcome::Cancelled:
            report.cancelled = true;
            break;
        case CopyOutcome::SameFile:
            report.failed << job.name;
            report.failedLines << job.name + UiText("RecordingFileOps", kSameFileNote);
            break;
        case CopyOutcome::Failed:
            qCWarning(vxLibrary) << "copy of" << job.source << "to" << job.target << "failed:" << result.error;
            report.failed << job.name;
            // The system's reason, so the user knows what to do (free space, another folder).
            report.failedLines << (result.error.isEmpty() ? job.name : job.name + QStringLiteral(" (") + result.error + QLatin1Char(')'));
            break;
        }
        if (report.cancelled)
            break;
    }
    return report;
}

void RecordingFileOps::FinishCopy(ITickedRows& rows, IPrompt& prompt, const CopyReport& report)
{
    untickAll(rows);
    if (!report.failedLines.isEmpty())
        prompt.ShowMessage(UiText("RecordingFileOps", kCopyCaption),
                           UiText("RecordingFileOps", kCopyFailedText) + QLatin1Char('\n') + report.failedLines.join(QLatin1Char('\n')));
}
