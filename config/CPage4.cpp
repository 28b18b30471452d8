#include "config/CPage4.h"

CPage4::CPage4(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent)
{
    setObjectName(QStringLiteral("CPage4"));
    AddGroup(QStringLiteral("메모리 정보"), 7, 7, 379, 120);
    const struct { int id; const char16_t* text; } memory[] = {
        {1023, u"전체용량 : "}, {1024, u"사용 가능한 용량 : "}, {1027, u"상시녹화 : "},
        {1028, u"충격녹화 : "}, {1029, u"수동녹화 : "},           {1030, u"모션녹화 : "},
    };
    int y = 23;
    for (const auto& row : memory) {
        AddLabel(row.id, QString::fromUtf16(row.text), 24, y, 200, 12);
        y += 16;
    }
    AddGroup(QStringLiteral("뷰어 정보"), 7, 135, 379, 54);
    AddLabel(1025, QStringLiteral("날짜 : 2015년 04월 21일"), 24, 151, 200, 12);
    AddLabel(1026, QStringLiteral("버전 : 1.1.0"), 24, 167, 200, 12);
}
