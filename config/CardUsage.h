#pragma once
// What the information page shows about the card: capacity, free space and
// the bytes in each category folder. Measuring walks every file of the four
// folders, so it runs off the UI thread; the texts are made from the result.
#include "config/CardSpaceQuery.h"
#include "config/PartitionShareTable.h"

#include <QString>
#include <array>
#include <optional>

class CardUsage {
public:
    struct Report {
        bool rootExists = false;
        std::optional<CardSpace> space; // asked only when the root exists
        std::array<qint64, PartitionShareTable::kCategories> categoryBytes{};
    };
    struct Texts {
        // nullopt: the control keeps its initial text (no card).
        std::optional<QString> total;
        std::optional<QString> free;
        std::array<QString, PartitionShareTable::kCategories> categories;
    };

    // Bytes of every file below path, at any depth. Folders whose names begin
    // with "." are skipped, files whose names do are counted; symbolic links
    // are not followed and count nothing; a missing path is 0. A path that is
    // itself a file counts that file.
    static qint64 FolderSize(const QString& path);
    // root: the card root with its trailing "/", or empty when there is none.
    static Report Measure(const QString& root, const CardSpaceQuery& space);
    static Texts MakeTexts(const Report& report);
    // Bytes in whole MiB, rounded down.
    static qint64 Mib(quint64 bytes) { return qint64(bytes / 1048576u); }
};
