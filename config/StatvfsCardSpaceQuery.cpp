#include "config/StatvfsCardSpaceQuery.h"

#include <QFile>
#include <sys/statvfs.h>

std::optional<CardSpace> StatvfsCardSpaceQuery::Query(const QString& root) const
{
    struct statvfs fs {};
    if (root.isEmpty() || ::statvfs(QFile::encodeName(root).constData(), &fs) != 0)
        return std::nullopt;
    const quint64 unit = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    // f_bfree, not f_bavail: the page shows all free bytes of the card.
    return CardSpace{quint64(fs.f_blocks) * unit, quint64(fs.f_bfree) * unit};
}
