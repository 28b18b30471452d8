#pragma once
// The card's comings and goings: the scan request at start-up and on arrival,
// and the clean-up when the card in use goes away. The main window owns one,
// forwards MSG_SCAN_CARD and MSG_LIST_RESET to HandleEvent, and connects to
// the signals: playback closes on cardRemoved, the window redraws on
// settingsLoaded. The monitor never touches playback itself. UI thread only.
#include <QObject>
#include <QString>

class DeviceConfig;
class DriveProvider;
class QEvent;
class RecordingLibrary;

class CardMonitor : public QObject {
    Q_OBJECT
public:
    // eventTarget receives the posted MSG_SCAN_CARD (the main window); nullptr
    // posts it to the monitor itself, which then handles it on its own.
    CardMonitor(RecordingLibrary& library, DriveProvider& drives, DeviceConfig& config, QObject* eventTarget = nullptr,
                QObject* parent = nullptr);

    // Posts MSG_SCAN_CARD to the event target (start-up).
    void PostScanRequest();
    // MSG_SCAN_CARD and MSG_LIST_RESET; returns false for any other event.
    bool HandleEvent(QEvent* event);

    // MSG_SCAN_CARD: find and scan the card, then read its settings file.
    void OnScanCard();
    // A drive appeared: a scan is asked for only while no drive is in use.
    void OnDriveArrived(const QString& root);
    // A drive went away: only the loss of the card in use changes anything.
    void OnDriveRemoved(const QString& root);

    // While the card is formatted it is unmounted and mounted again, perhaps
    // elsewhere: between Hold and Release arrivals and removals are only
    // noted. Release then settles them through the ordinary paths (a card
    // root that is no longer a drive resets the library, and a scan is asked
    // for when there is no card in use).
    void Hold();
    void Release();
    bool IsHeld() const { return m_held; }

signals:
    // The card in use went away; the library is emptied right after. What
    // plays from it must let go of it.
    void cardRemoved();
    // The card's settings file was read (or the defaults put in force): hand
    // the speed unit to the read-outs and redraw the window.
    void settingsLoaded();

protected:
    bool event(QEvent* event) override;

private:
    bool cardStillThere() const;

    RecordingLibrary& m_library;
    DriveProvider& m_drives;
    DeviceConfig& m_config;
    QObject* m_target;
    bool m_held = false;
    bool m_changedWhileHeld = false;
};
