#include "config/CPage2.h"

#include "config/CVxMsgDlg.h"
#include "config/TimeZoneTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QCoreApplication>

CPage2::CPage2(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent)
{
    setObjectName(QStringLiteral("CPage2"));
    AddGroup(QCoreApplication::translate("CPage2", "속도 단위"), 7, 7, 379, 38);
    m_unit = new QButtonGroup(this);
    AddRadio(m_unit, 0, 1013, QStringLiteral("km/h"), 24, 23, 60, 12);
    AddRadio(m_unit, 1, 1014, QStringLiteral("mph"), 120, 23, 60, 12);
    AddRadio(m_unit, 2, 1015, QStringLiteral("knot"), 216, 23, 60, 12);

    AddGroup(QCoreApplication::translate("CPage2", "시간 설정"), 7, 53, 379, 42);
    m_picker = new QDateTimeEdit(this);
    m_picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    m_picker->setCalendarPopup(false);
    m_picker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The clock file carries no zone: the picker edits plain wall-clock
    // fields, so no value (say 02:30 on the day the PC's clocks spring
    // forward) is shifted by the PC's own zone.
    m_picker->setTimeSpec(Qt::UTC);
    Place(m_picker, 1030, 24, 69, 130, 16);
    m_apply = new QPushButton(QCoreApplication::translate("CPage2", "적용"), this);
    m_apply->setAutoDefault(false);
    Place(m_apply, 1005, 164, 68, 50, 18);

    AddGroup(QCoreApplication::translate("CPage2", "지역 설정"), 7, 103, 379, 42);
    m_zone = new QComboBox(this);
    for (int row = 0; row < TimeZoneTable::kRowCount; ++row)
        m_zone->addItem(TimeZoneTable::Text(row));
    m_zone->setMaxVisibleItems(12);
    Place(m_zone, 1051, 24, 119, 345, 16);

    AddGroup(QCoreApplication::translate("CPage2", "일광 절약 시간 "), 7, 153, 379, 38);
    m_daylight = new QCheckBox(QStringLiteral("Daylight Saving Time"), this);
    Place(m_daylight, 1052, 24, 169, 200, 12);

    connect(m_apply, &QPushButton::clicked, this, &CPage2::Apply);

    // The clock file is read once per sheet, when this page first shows.
    const QString root = m_context.CardRootNow();
    const CalendarTime clock = ReadDeviceTimeFile(CardRootPresent(root) ? root + QLatin1String(kTimeFileName) : QString());
    m_picker->setDateTime(
        QDateTime(QDate(clock.year, clock.month, clock.day), QTime(clock.hour, clock.minute, clock.second), Qt::UTC));

    Reload();
    MarkInitialised(SettingsSheetContext::kUnitsTimePage);
}

QString CPage2::SavedNoticeText()
{
    return QCoreApplication::translate("CPage2", "시간이 저장되었습니다.\n저장된 시간은 제품에 설정할 시간과 차이가 있을 수 있습니다.");
}

void CPage2::Reload()
{
    const DeviceSettings& s = Working();
    // A stored number that is no row leaves the box without a selection.
    m_zone->setCurrentIndex(s.timeZoneIndex < TimeZoneTable::kRowCount ? int(s.timeZoneIndex) : -1);
    m_daylight->setChecked(s.daylightSaving != 0);
    SetGroupIndex(m_unit, int(s.speedUnit) - 1);
}

void CPage2::StoreInto(DeviceSettings& working)
{
    working.speedUnit = std::uint8_t(m_unit->checkedId() + 1);
    // With no row selected (the card held a number that is no row) the stored
    // number stays as it was rather than becoming 255.
    if (m_zone->currentIndex() >= 0)
        working.timeZoneIndex = std::uint8_t(m_zone->currentIndex());
    working.daylightSaving = m_daylight->isChecked() ? 1 : 0;
}

void CPage2::Apply()
{
    const QString root = m_context.CardRootNow();
    CardWrite outcome = CardWrite::NoCard;
    if (CardRootPresent(root)) {
        const CalendarTime value = CalendarTime::FromDateTime(m_picker->dateTime());
        outcome = WriteDeviceTimeFile(root + QLatin1String(kTimeFileName), value) ? CardWrite::Written : CardWrite::Failed;
    }
    if (outcome != CardWrite::Written) {
        if (m_context.showMessage)
            m_context.showMessage(TimeWriteCaption(), TimeWriteFailureText(outcome));
        else
            QMessageBox::warning(this, TimeWriteCaption(), TimeWriteFailureText(outcome));
        return;
    }
    if (m_context.showNotice) {
        m_context.showNotice(SavedNoticeText());
        return;
    }
    CVxMsgDlg notice(this);
    notice.SetMessage(SavedNoticeText());
    notice.exec();
}
