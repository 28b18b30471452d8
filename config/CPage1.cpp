#include "config/CPage1.h"

#include <QButtonGroup>
#include <QSlider>
#include <QToolTip>
#include <QCoreApplication>

CPage1::CPage1(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent)
{
    setObjectName(QStringLiteral("CPage1"));
    AddGroup(QCoreApplication::translate("CPage1", "녹화 화질"), 7, 7, 379, 38);
    m_quality = new QButtonGroup(this);
    AddRadio(m_quality, 0, 1006, QCoreApplication::translate("CPage1", "저화질"), 24, 23, 70, 12);
    AddRadio(m_quality, 1, 1007, QCoreApplication::translate("CPage1", "중화질"), 120, 23, 70, 12);
    AddRadio(m_quality, 2, 1008, QCoreApplication::translate("CPage1", "고화질"), 216, 23, 70, 12);

    AddGroup(QCoreApplication::translate("CPage1", "녹화 모드"), 7, 53, 379, 62);
    AddLabel(0, QCoreApplication::translate("CPage1", "주행녹화모드"), 24, 69, 80, 12);
    m_driving = new QButtonGroup(this);
    AddRadio(m_driving, 0, 1016, QCoreApplication::translate("CPage1", "상시녹화 + 충격녹화"), 120, 69, 110, 12);
    AddRadio(m_driving, 1, 1017, QCoreApplication::translate("CPage1", "상시녹화"), 250, 69, 80, 12);
    AddLabel(0, QCoreApplication::translate("CPage1", "주차녹화모드"), 24, 93, 80, 12);
    m_parking = new QButtonGroup(this);
    AddRadio(m_parking, 0, 1018, QCoreApplication::translate("CPage1", "모션 + 충격녹화"), 120, 93, 110, 12);
    AddRadio(m_parking, 1, 1019, QCoreApplication::translate("CPage1", "충격녹화"), 250, 93, 60, 12);
    AddRadio(m_parking, 2, 1020, QCoreApplication::translate("CPage1", "해제"), 320, 93, 50, 12);

    AddGroup(QCoreApplication::translate("CPage1", "감도 조절"), 7, 123, 379, 112);
    AddLabel(0, QCoreApplication::translate("CPage1", "운행감도조절"), 24, 139, 80, 12);
    AddLabel(0, QCoreApplication::translate("CPage1", "둔감"), 24, 158, 30, 16, Qt::AlignRight | Qt::AlignVCenter);
    m_sensitivity = new QSlider(Qt::Horizontal, this);
    m_sensitivity->setTickPosition(QSlider::TicksBothSides);
    m_sensitivity->setTickInterval(1);
    m_sensitivity->setPageStep(1);
    Place(m_sensitivity, 1010, 60, 155, 270, 22);
    AddLabel(0, QCoreApplication::translate("CPage1", "민감"), 336, 158, 30, 16);
    AddLabel(0, QCoreApplication::translate("CPage1", "모션감도조절"), 24, 189, 80, 12);
    m_motion = new QButtonGroup(this);
    AddRadio(m_motion, 0, 1021, QCoreApplication::translate("CPage1", "둔감"), 60, 207, 60, 12);
    AddRadio(m_motion, 1, 1022, QCoreApplication::translate("CPage1", "보통"), 160, 207, 60, 12);
    AddRadio(m_motion, 2, 1023, QCoreApplication::translate("CPage1", "민감"), 260, 207, 60, 12);

    // The trackbar tells its position while it is dragged and when hovered.
    connect(m_sensitivity, &QSlider::sliderMoved, this, &CPage1::ShowValueTip);
    connect(m_sensitivity, &QSlider::valueChanged, this,
            [this](int v) { m_sensitivity->setToolTip(QString::number(v)); });

    FillFromWorking();
    MarkInitialised(SettingsSheetContext::kRecordingPage);
}

void CPage1::FillFromWorking()
{
    const DeviceSettings& s = Working();
    m_sensitivity->setRange(0, 9);
    m_sensitivity->setValue(s.sensitivity[0]);
    m_sensitivity->setToolTip(QString::number(m_sensitivity->value()));
    SetGroupIndex(m_quality, int(s.quality) - 1);
    SetGroupIndex(m_driving, int(s.drivingMode) - 1);
    SetGroupIndex(m_parking, int(s.parkingMode) - 1);
    SetGroupIndex(m_motion, int(s.motionSensitivity) - 1);
}

void CPage1::Reload() { FillFromWorking(); }

void CPage1::StoreInto(DeviceSettings& working)
{
    // A group with no button checked has index −1 and stores 0, as the camera
    // has always received it.
    working.quality = std::uint8_t(m_quality->checkedId() + 1);
    working.drivingMode = std::uint8_t(m_driving->checkedId() + 1);
    working.parkingMode = std::uint8_t(m_parking->checkedId() + 1);
    working.motionSensitivity = std::uint8_t(m_motion->checkedId() + 1);
    const auto position = std::uint16_t(m_sensitivity->value());
    working.sensitivity = {position, position, position};
}

void CPage1::ShowValueTip(int value)
{
    const QRect r = m_sensitivity->rect();
    const int span = r.width() - 12;
    const QPoint at(6 + span * value / 9, r.top());
    QToolTip::showText(m_sensitivity->mapToGlobal(at), QString::number(value), m_sensitivity);
}
