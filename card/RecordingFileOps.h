#pragma once
// The delete and copy commands over the ticked rows of the recording list.
// They run on the UI thread; the list, the questions and the dialogs come in
// through small interfaces so the commands run without widgets.
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"
#include "card/ITickedRows.h"
#include "card/RecordingCopier.h"

#include <QStringList>
#include <functional>
#include <vector>

struct DeleteReport {
    bool asked = false;      // the question was shown
    bool confirmed = false;  // answered Yes
    QStringList deleted;     // paths whose file and entries are gone
    QStringList failed;      // paths kept, file and entries and row
};

struct CopyReport {
    QStringList copied;      // target paths written
    QStringList failed;      // file names that were not copied
    bool cancelled = false;  // the user cancelled; later files were skipped
    QStringList failedLines; // what the user is told of each failed file
};

// One file of a copy command.
struct CopyJob {
    QString name;   // the row's file name
    QString source;
    QString target;
    qint64 size = 0;
};

class RecordingFileOps {
public:
    // Takes the recording's entry out of library list `category` (0..4); the
    // first entry whose path matches, ignoring case.
    using RemoveRecording = std::function<void(int category, const QString& path)>;
    // Progress over all files of one copy command; return false to cancel.
    using CopyProgress = std::function<bool(const QString& fileName, qint64 copied, qint64 total)>;

    static const QString kDeleteCaption;      // "영상 파일 삭제!"
    static const QString kDeleteQuestion;     // "선택하신 파일을 삭제하시겠습니까?"
    static const QString kDeleteFailedText;   // heading of the list of files not deleted
    static const QString kCopyCaption;
    static const QString kCopyFailedText;     // heading of the list of files not copied
    static const QString kSameFileNote;       // after a name that was its own target
    static const QString kMovieFilter;        // "Movie Files (*.mp4)"
    static const QString kFolderTitle;        // "Select a directory"

    // Asks, then for every ticked row deletes the file; only when that worked
    // (or the file was already gone) are its entries removed from the five
    // library lists and its row deleted. Remaining rows are unticked. Files
    // that could not be deleted are named to the user.
    static DeleteReport DeleteTickedRecordings(ITickedRows& rows, IPrompt& prompt,
                                               const RemoveRecording& removeRecording);

    // One ticked row: save dialog with the row's name; several: a folder, each
    // file under its own name. Every row is unticked afterwards (also when a
    // dialog was cancelled). Files that were not copied are named to the user.
    static CopyReport CopyTickedRecordings(ITickedRows& rows, IFileDialogs& dialogs, IPrompt& prompt,
                                           const CopyProgress& progress = {},
                                           const RecordingCopier& copier = RecordingCopier());

    // The same in three steps, so the copying can run on a worker thread:
    // the dialogs (UI thread; empty when cancelled or nothing is ticked),
    // the copies (any thread; progress is called on that thread), and the
    // end (UI thread: every row unticked, failures named to the user).
    static std::vector<CopyJob> PlanCopy(ITickedRows& rows, IFileDialogs& dialogs);
    static CopyReport RunCopy(const std::vector<CopyJob>& jobs, const CopyProgress& progress = {},
                              const RecordingCopier& copier = RecordingCopier());
    static void FinishCopy(ITickedRows& rows, IPrompt& prompt, const CopyReport& report);

private:
    static void untickAll(ITickedRows& rows);
};
