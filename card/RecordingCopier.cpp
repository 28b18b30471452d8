#include "card/RecordingCopier.h"

#include <QFile>
#include <QFileInfo>
#include "base/LogCategories.h"
#include <QSaveFile>
#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace {
// Writes all of data. A write the system cuts short (the disk filled up
// part-way) is tried again for the rest, so that the failure comes back with
// the system's reason instead of a short count without one.
bool writeAll(QSaveFile& out, const char* data, qint64 size)
{
    while (size > 0) {
        const qint64 n = out.write(data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}
} // namespace

RecordingCopier::RecordingCopier(qint64 chunkSize)
    : m_chunkSize(chunkSize > 0 ? chunkSize : kDefaultChunkSize)
{
}

bool RecordingCopier::IsSameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (!fa.exists() || !fb.exists())
        return false;
    if (fa.canonicalFilePath() == fb.canonicalFilePath())
        return true;
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(fa.absoluteFilePath()).constData(), &sa) != 0
        || ::stat(QFile::encodeName(fb.absoluteFilePath()).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

CopyResult RecordingCopier::Copy(const QString& source, const QString& target, const Progress& progress) const
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return {CopyOutcome::Failed, sourceInfo.exists() ? QStringLiteral("not a file") : qt_error_string(ENOENT)};
    if (IsSameFile(source, target))
        return {CopyOutcome::SameFile, QStringLiteral("source and target are the same file")};

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {CopyOutcome::Failed, in.errorString()};
    const qint64 total = in.size();

    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    // Unbuffered: every write reaches the system at once, which says why one fails.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {CopyOutcome::Failed, out.errorString()};

    std::vector<char> buffer(static_cast<std::size_t>(m_chunkSize));
    qint64 copied = 0;
    for (;;) {
        const qint64 n = in.read(buffer.data(), m_chunkSize);
        if (n < 0) {
            out.cancelWriting();
            return {CopyOutcome::Failed, in.errorString()};
        }
        if (n == 0)
            break;
        if (!writeAll(out, buffer.data(), n)) {
            const QString error = out.errorString();
            out.cancelWriting();
            return {CopyOutcome::Failed, error};
        }
        copied += n;
        if (progress && !progress(copied, total)) {
            out.cancelWriting();
            return {CopyOutcome::Cancelled, {}};
        }
    }
    // A card pulled out or a file cut while it was read ends the read early.
    if (copied < total) {
        out.cancelWriting();
        return {CopyOutcome::Failed, QStringLiteral("source ended after %1 of %2 bytes").arg(copied).arg(total)};
    }
    if (!out.commit())
        return {CopyOutcome::Failed, out.errorString()};

    QFile done(target);
    if (done.open(QIODevice::ReadWrite))
        done.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
    qCDebug(vxLibrary) << "copied" << source << "to" << target << copied << "bytes";
    return {CopyOutcome::Copied, {}};
}
