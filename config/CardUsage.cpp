#include "config/CardUsage.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>

namespace {

// Deep enough for any card; stops a pathological tree from exhausting the stack.
constexpr int kMaxDepth = 64;

qint64 folderSizeAt(int dirFd, int depth)
{
    DIR* dir = ::fdopendir(dirFd); // takes dirFd
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    qint64 sum = 0;
    while (const dirent* e = ::readdir(dir)) {
        struct stat st {};
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (e->d_name[0] == '.' || depth >= kMaxDepth)
                continue;
            const int sub = ::openat(::dirfd(dir), e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                sum += folderSizeAt(sub, depth + 1);
        } else if (S_ISREG(st.st_mode)) {
            sum += st.st_size;
        }
    }
    ::closedir(dir);
    return sum;
}

} // namespace

qint64 CardUsage::FolderSize(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    if (p.isEmpty())
        return 0;
    const QByteArray native = QFile::encodeName(p);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return 0;
    if (S_ISREG(st.st_mode))
        return st.st_size;
    if (!S_ISDIR(st.st_mode) || QFileInfo(p).fileName().startsWith(QLatin1Char('.')))
        return 0;
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return fd >= 0 ? folderSizeAt(fd, 0) : 0;
}

CardUsage::Report CardUsage::Measure(const QString& root, const CardSpaceQuery& space)
{
    Report r;
    r.rootExists = !root.isEmpty() && QFileInfo::exists(root);
    if (r.rootExists)
        r.space = space.Query(root);
    // Without a card there is nothing to sum (an empty root would sum folders
    // of the working directory).
    if (!root.isEmpty()) {
        for (int i = 0; i < PartitionShareTable::kCategories; ++i)
            r.categoryBytes[std::size_t(i)] = FolderSize(root + PartitionShareTable::Folder(i));
    }
    return r;
}

CardUsage::Texts CardUsage::MakeTexts(const Report& report)
{
    Texts t;
    const QString totalLabel = QCoreApplication::translate("CardUsage", "전체 용량 :");
    const QString freeLabel = QCoreApplication::translate("CardUsage", "사용 가능한 용량 :");
    if (report.rootExists) {
        if (report.space) {
            t.total = QString::asprintf("%s %04lldMB", qUtf8Printable(totalLabel), Mib(report.space->totalBytes));
            t.free = QString::asprintf("%s %04lldMB", qUtf8Printable(freeLabel), Mib(report.space->freeBytes));
        } else {
            t.total = totalLabel;
            t.free = freeLabel;
        }
    }
    for (int i = 0; i < PartitionShareTable::kCategories; ++i) {
        t.categories[std::size_t(i)] = QString::asprintf("%s : %lld MB", qUtf8Printable(PartitionShareTable::Label(i)),
                                                        Mib(quint64(report.categoryBytes[std::size_t(i)])));
    }
    return t;
}
