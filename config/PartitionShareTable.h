#pragma once
// How the camera divides the card between its four recording categories for
// each memory mode, with the legend's labels and colours. Categories are in
// folder order INFINITE, EVENT, MANUAL, MOTION; each row sums to 100.
#include <QColor>
#include <QString>
#include <array>
#include <optional>

class PartitionShareTable {
public:
    static constexpr int kCategories = 4;
    using Shares = std::array<int, kCategories>;

    // Percentages for a stored memoryMode 1..3; nullopt for any other value
    // (the camera may have written one the viewer does not know).
    static std::optional<Shares> ForMode(int memoryMode);
    // Radio text of memoryMode 1..3, empty otherwise.
    static QString ModeText(int memoryMode);
    static QString Label(int category);
    static QColor Colour(int category);
    // The category folder at the card root ("INFINITE", ...).
    static QString Folder(int category);
};
