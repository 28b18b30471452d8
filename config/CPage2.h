#pragma once
// The units and time page ("시간 및 단위"): speed unit, the camera clock with
// its own apply button (written to the card at once), time zone and daylight
// saving.
#include "config/SettingsPage.h"
#include <QCoreApplication>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QPushButton;

class CPage2 : public SettingsPage {
    Q_OBJECT
public:
    CPage2(SettingsSheetContext& context, QWidget* parent = nullptr);

    void StoreInto(DeviceSettings& working) override;
    // Unit, zone and daylight saving; the clock keeps what the user set.
    void Reload() override;

    static QString Title() { return QCoreApplication::translate("CPage2", "시간 및 단위"); }
    static QString SavedNoticeText();

    QDateTimeEdit* Picker() const { return m_picker; }

private:
    void Apply();

    QButtonGroup* m_unit = nullptr;
    QDateTimeEdit* m_picker = nullptr; // 1030
    QPushButton* m_apply = nullptr;    // 1005
    QComboBox* m_zone = nullptr;       // 1051
    QCheckBox* m_daylight = nullptr;   // 1052
};
