#pragma once
// The recording page ("환경설정"): picture quality, driving and parking
// recording modes, the impact sensitivity trackbar and the motion sensitivity.
#include "config/SettingsPage.h"
#include <QCoreApplication>

class QButtonGroup;
class QSlider;

class CPage1 : public SettingsPage {
    Q_OBJECT
public:
    CPage1(SettingsSheetContext& context, QWidget* parent = nullptr);

    void StoreInto(DeviceSettings& working) override;
    void Reload() override;

    static QString Title() { return QCoreApplication::translate("CPage1", "환경설정"); }

private:
    void FillFromWorking();
    void ShowValueTip(int value);

    QButtonGroup* m_quality = nullptr;
    QButtonGroup* m_driving = nullptr;
    QButtonGroup* m_parking = nullptr;
    QButtonGroup* m_motion = nullptr;
    QSlider* m_sensitivity = nullptr; // control 1010
};
