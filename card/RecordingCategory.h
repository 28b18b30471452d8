#pragma once
// Index of one recording list: 0 ALL, 1 NORMAL (folder INFINITE), 2 EVENT,
// 3 MANUAL, 4 MOTION. The camera marks a recording's kind by a letter seven
// characters from the end of its name and by the folder it writes it to.
#include <QString>

enum RecordingCategory : int {
    CategoryAll = 0,
    CategoryNormal = 1,
    CategoryEvent = 2,
    CategoryManual = 3,
    CategoryMotion = 4,
};
inline constexpr int kCategoryCount = 5;
inline constexpr int kCategoryFolderCount = 4;

struct RecordingCategoryInfo {
    const char* folder;   // nullptr for ALL
    const char* typeText;
    char marker;          // 0 for ALL
    const char* prefix;   // nullptr for ALL
};

inline constexpr RecordingCategoryInfo kRecordingCategories[kCategoryCount] = {
    {nullptr, "ALL", 0, nullptr},
    {"INFINITE", "NORMAL", 'I', "INF"},
    {"EVENT", "EVENT", 'E', "EVT"},
    {"MANUAL", "MANUAL", 'B', "MAN"},
    {"MOTION", "MOTION", 'M', "MOT"},
};

inline QString CategoryTypeText(int category)
{
    if (category < 0 || category >= kCategoryCount)
        return QString();
    return QString::fromLatin1(kRecordingCategories[category].typeText);
}
