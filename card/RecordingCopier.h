#pragma once
// Copies one recording file so that the target is either the complete copy or
// left as it was: the data goes to a temporary file beside the target, which
// is renamed over the target only once every byte is written.
#include <QString>
#include <QtGlobal>
#include <functional>

enum class CopyOutcome {
    Copied,
    Cancelled, // the progress callback answered cancel; the target is untouched
    SameFile,  // source and target are one file; nothing was written
    Failed,    // see CopyResult::error; the target is untouched
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Failed;
    QString error;
};

class RecordingCopier {
public:
    // Called after every chunk with the bytes copied so far and the source's
    // size; return false to cancel.
    using Progress = std::function<bool(qint64 copied, qint64 total)>;

    static constexpr qint64 kDefaultChunkSize = qint64(1) << 20;

    explicit RecordingCopier(qint64 chunkSize = kDefaultChunkSize);

    // An existing target is replaced; the modification time of the source is
    // carried over.
    CopyResult Copy(const QString& source, const QString& target, const Progress& progress = {}) const;

    // True when both names lead to one existing file (same canonical path, or
    // the same inode through a hard link or a case-insensitive file system).
    static bool IsSameFile(const QString& a, const QString& b);

private:
    qint64 m_chunkSize;
};
