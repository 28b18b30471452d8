#include "library/RecordingCopier.h"

#include <QFile>
#include <QFileInfo>
#include "base/LogCategories.h"
#include <QSaveFile>
#include <sys/stat.h>
#include <vector>

namespace {
}

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
        return {CopyOutcome::Failed, QStringLiteral("source is not a file: %1").arg(source)};
    if (IsSameFile(source, target))
        return {CopyOutcome::SameFile, QStringLiteral("source and target are the same file")};

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {CopyOutcome::Failed, in.errorString()};
    const qint64 total = in.size();

    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
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
        if (out.write(buffer.data(), n) != n) {
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
