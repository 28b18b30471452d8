#include "app/MainFrameTables.h"

#include <QtGlobal>

namespace {

const std::array<SkinControlDef, 27> kControlBar{{
    {142, 307, 187, 491, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "파일열기")},
    {136, 300, 233, 491, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "이전 파일")},
    {514, 310, 278, 491, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "뒤로")},
    {135, 301, 325, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "재생")},
    {133, 302, 325, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "일시정지")},
    {516, 306, 382, 491, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "앞으로")},
    {132, 303, 428, 490, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "다음 파일")},
    {137, 309, 474, 491, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "정지")},
    {113, 290, 213, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "이전 파일")},
    {529, 530, 213, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "뒤로")},
    {117, 291, 324, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "재생")},
    {116, 292, 267, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "정지")},
    {115, 293, 324, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "일시정지")},
    {531, 532, 383, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "앞으로")},
    {114, 294, 383, 485, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "다음 파일")},
    {150, 311, 588, 498, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "다른 이름으로 저장..")},
    {151, 312, 622, 498, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "삭제")},
    {147, 325, 657, 498, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "설정")},
    {148, 326, 494, 39, QT_TRANSLATE_NOOP("CVxMainFrame", "지 도"), QT_TRANSLATE_NOOP("CVxMainFrame", "지 도")},
    {520, 523, 594, 39, QT_TRANSLATE_NOOP("CVxMainFrame", "전후방전환"), QT_TRANSLATE_NOOP("CVxMainFrame", "전후방전환")},
    {521, 524, 885, 39, QT_TRANSLATE_NOOP("CVxMainFrame", "좌우전환"), QT_TRANSLATE_NOOP("CVxMainFrame", "좌우전환")},
    {522, 525, 992, 39, QT_TRANSLATE_NOOP("CVxMainFrame", "상하전환"), QT_TRANSLATE_NOOP("CVxMainFrame", "상하전환")},
    {140, 328, 1051, 5, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "최소화")},
    {145, 323, 1076, 5, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "전체화면")},
    {157, 330, 1076, 5, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "이전크기로")},
    {141, 329, 1101, 5, nullptr, QT_TRANSLATE_NOOP("CVxMainFrame", "종료")},
    {534, 582, 997, 4, QT_TRANSLATE_NOOP("CVxMainFrame", "  전후방전환"), QT_TRANSLATE_NOOP("CVxMainFrame", "전후방전환")},
}};

const std::array<SkinControlDef, 5> kCategoryTabs{{
    {590, 360, 713, 378, QT_TRANSLATE_NOOP("CVxMainFrame", "전체"), QT_TRANSLATE_NOOP("CVxMainFrame", "전체")},
    {591, 361, 790, 378, QT_TRANSLATE_NOOP("CVxMainFrame", "상시"), QT_TRANSLATE_NOOP("CVxMainFrame", "상시")},
    {592, 362, 876, 378, QT_TRANSLATE_NOOP("CVxMainFrame", "충격"), QT_TRANSLATE_NOOP("CVxMainFrame", "충격")},
    {594, 363, 959, 378, QT_TRANSLATE_NOOP("CVxMainFrame", "수동"), QT_TRANSLATE_NOOP("CVxMainFrame", "수동")},
    {593, 364, 1043, 378, QT_TRANSLATE_NOOP("CVxMainFrame", "모션"), QT_TRANSLATE_NOOP("CVxMainFrame", "모션")},
}};

const std::array<int, 9> kSkinBitmapIds{191, 192, 180, 158, 526, 603, 527, 528, 604};

} // namespace

const std::array<SkinControlDef, 27>& MainFrameTables::ControlBar()
{
    return kControlBar;
}

const std::array<SkinControlDef, 5>& MainFrameTables::CategoryTabs()
{
    return kCategoryTabs;
}

const std::array<int, 9>& MainFrameTables::SkinBitmapIds()
{
    return kSkinBitmapIds;
}
