#include "config/CPage3.h"

#include <QLabel>

CPage3::CPage3(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent)
{
    setObjectName(QStringLiteral("CPage3"));
    AddGroup(QStringLiteral("메모리 관리"), 7, 7, 379, 170);
    AddGroup(QStringLiteral("파일 포맷"), 7, 185, 379, 70);
    AddLabel(0, QStringLiteral("SD 카드의 모든 데이터를 지우고 포맷합니다. SD 카드를 포맷하시겠습니까?"), 20, 203, 350, 24,
             Qt::AlignLeft | Qt::AlignTop)
        ->setWordWrap(true);
}
