#include "display/MapTilePackage.h"

#include "base/LogCategories.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

MapTilePackage::MapTilePackage(const QString& path)
    : m_connection(QStringLiteral("halcyon-tiles-%1").arg(quintptr(this), 0, 16))
{
    // The driver would create a missing file; a package is only ever read.
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (!path.isEmpty())
            qCWarning(vxDisplay) << "no tile package at" << path;
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        qCWarning(vxDisplay) << "cannot open the tile package" << path << db.lastError().text();
        return;
    }
    QSqlQuery format(db);
    if (format.exec(QStringLiteral("SELECT value FROM metadata WHERE name = 'format'")) && format.next()
        && format.value(0).toString().trimmed().compare(QLatin1String("pbf"), Qt::CaseInsensitive) == 0) {
        qCWarning(vxDisplay) << "the tile package holds vector tiles, which the map cannot draw:" << path;
        return;
    }
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT 1 FROM tiles LIMIT 1"))) {
        qCWarning(vxDisplay) << "not a tile package:" << path << probe.lastError().text();
        return;
    }
    m_open = true;
}

MapTilePackage::~MapTilePackage()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

std::optional<QByteArray> MapTilePackage::Read(const MapTile& tile)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral(
        "SELECT tile_data FROM tiles WHERE zoom_level = ? AND tile_column = ? AND tile_row = ? LIMIT 1"));
    q.addBindValue(tile.z);
    q.addBindValue(tile.x);
    q.addBindValue(MapTileRoute::TmsRow(tile));
    if (!q.exec() || !q.next())
        return std::nullopt;
    QByteArray data = q.value(0).toByteArray();
    if (data.isEmpty())
        return std::nullopt;
    return data;
}
