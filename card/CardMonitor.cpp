#include "card/CardMonitor.h"

#include "base/Messages.h"
#include "base/Trace.h"
#include "config/DeviceConfig.h"
#include "card/DriveProvider.h"
#include "card/RecordingLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

CardMonitor::CardMonitor(RecordingLibrary& library, DriveProvider& drives, DeviceConfig& config, QObject* eventTarget,
                         QObject* parent)
    : QObject(parent), m_library(library), m_drives(drives), m_config(config), m_target(eventTarget ? eventTarget : this)
{
    m_library.SetDriveProvider(&m_drives);
    connect(&m_drives, &DriveProvider::driveArrived, this, &CardMonitor::OnDriveArrived);
    connect(&m_drives, &DriveProvider::driveRemoved, this, &CardMonitor::OnDriveRemoved);
}

void CardMonitor::PostScanRequest()
{
    QCoreApplication::postEvent(m_target, new QEvent(QEvent::Type(MSG_SCAN_CARD)));
}

bool CardMonitor::HandleEvent(QEvent* e)
{
    switch (int(e->type())) {
    case MSG_SCAN_CARD:
        OnScanCard();
        return true;
    case MSG_LIST_RESET:
        m_library.ResetLibrary();
        return true;
    default:
        return false;
    }
}

bool CardMonitor::event(QEvent* e)
{
    return HandleEvent(e) || QObject::event(e);
}

void CardMonitor::OnScanCard()
{
    m_library.FindCard();
    if (m_library.cardRoot().isEmpty() || !QFileInfo::exists(m_library.cardRoot())) {
        m_library.SetCardRoot(QString());
        return;
    }
    m_config.ResetDeviceSettings();
    m_config.ReadDeviceSettings(m_library.cardRoot() + QLatin1String(kSettingsFileName));
    m_config.CopyLiveToWorking();
    emit settingsLoaded();
}

void CardMonitor::Hold()
{
    m_held = true;
    m_changedWhileHeld = false;
}

void CardMonitor::Release()
{
    if (!m_held)
        return;
    m_held = false;
    if (!m_changedWhileHeld)
        return;
    m_changedWhileHeld = false;
    // Playback was stopped by whoever held the monitor: only the lists go.
    if (!m_library.cardRoot().isEmpty() && !cardStillThere()) {
        m_library.SetCardRoot(QString());
        m_library.ResetLibrary();
    }
    if (m_library.cardRoot().isEmpty())
        PostScanRequest();
}

void CardMonitor::OnDriveArrived(const QString& root)
{
    if (m_held) {
        m_changedWhileHeld = true;
        return;
    }
    if (m_library.cardRoot().isEmpty())
        PostScanRequest();
}

bool CardMonitor::cardStillThere() const
{
    // A mount point usually stays behind as an empty folder, so the folder
    // alone does not say the card is there: it must still be a drive.
    if (!QFileInfo::exists(m_library.cardRoot()))
        return false;
    for (const DriveInfo& d : m_drives.Drives()) {
        if (d.root == m_library.cardRoot())
            return true;
    }
    return false;
}

void CardMonitor::OnDriveRemoved(const QString& root)
{
    if (m_held) {
        m_changedWhileHeld = true;
        return;
    }
    TraceLine("OnDeviceChange \r\n");
    if (m_library.cardRoot().isEmpty() || cardStillThere())
        return;
    m_library.SetCardRoot(QString());
    emit cardRemoved();
    m_library.ResetLibrary();
}
