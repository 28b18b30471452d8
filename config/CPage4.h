#pragma once
// The information page ("정보"). For now it shows its fixed texts; the card's
// capacity and the space per category come with the full page.
#include "config/SettingsPage.h"

class CPage4 : public SettingsPage {
    Q_OBJECT
public:
    CPage4(SettingsSheetContext& context, QWidget* parent = nullptr);

    static QString Title() { return QStringLiteral("정보"); }
};
