#include "config/PartitionShareTable.h"
#include <QCoreApplication>

namespace {
constexpr std::array<PartitionShareTable::Shares, 3> kShares{{
    {75, 10, 5, 10},
    {55, 10, 5, 30},
    {35, 20, 5, 40},
}};
} // namespace

std::optional<PartitionShareTable::Shares> PartitionShareTable::ForMode(int memoryMode)
{
    if (memoryMode < 1 || memoryMode > int(kShares.size()))
        return std::nullopt;
    return kShares[std::size_t(memoryMode - 1)];
}

QString PartitionShareTable::ModeText(int memoryMode)
{
    switch (memoryMode) {
    case 1: return QCoreApplication::translate("PartitionShareTable", "운행모드");
    case 2: return QCoreApplication::translate("PartitionShareTable", "일반모드");
    case 3: return QCoreApplication::translate("PartitionShareTable", "녹화모드");
    default: return {};
    }
}

QString PartitionShareTable::Label(int category)
{
    static constexpr std::array<const char*, kCategories> labels{
        QT_TRANSLATE_NOOP("PartitionShareTable", "상시녹화"), QT_TRANSLATE_NOOP("PartitionShareTable", "충격녹화"),
        QT_TRANSLATE_NOOP("PartitionShareTable", "수동녹화"), QT_TRANSLATE_NOOP("PartitionShareTable", "모션녹화")};
    return category >= 0 && category < kCategories
        ? QCoreApplication::translate("PartitionShareTable", labels[std::size_t(category)])
        : QString();
}

QColor PartitionShareTable::Colour(int category)
{
    static const std::array<QColor, kCategories> colours{
        QColor(64, 64, 255), QColor(200, 0, 200), QColor(0, 210, 0), QColor(255, 192, 0)};
    return category >= 0 && category < kCategories ? colours[std::size_t(category)] : QColor();
}

QString PartitionShareTable::Folder(int category)
{
    static const std::array<QString, kCategories> folders{
        QStringLiteral("INFINITE"), QStringLiteral("EVENT"), QStringLiteral("MANUAL"), QStringLiteral("MOTION")};
    return category >= 0 && category < kCategories ? folders[std::size_t(category)] : QString();
}
