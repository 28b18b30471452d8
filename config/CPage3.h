#pragma once
// The memory page ("메모리 관리"). For now it shows its fixed texts; the
// partition modes, the bar and the format command come with the full page.
#include "config/SettingsPage.h"

class CPage3 : public SettingsPage {
    Q_OBJECT
public:
    CPage3(SettingsSheetContext& context, QWidget* parent = nullptr);

    static QString Title() { return QStringLiteral("메모리 관리"); }
};
