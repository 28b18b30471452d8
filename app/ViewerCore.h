#pragma once
// The viewer's core objects, created and connected in one place before any
// window: the recording library, the camera's settings, the playlist, the
// playback controller (the one owner of the engine), the card monitor and the
// settings command. The application object makes one and hands it to the main
// window, which only shows it and forwards commands; tests make one over fakes.
// No widgets; UI thread only.
#include "card/DriveProvider.h"
#include "config/CardFormatter.h"
#include "config/DeviceConfig.h"
#include "engine/PlaybackEngine.h"

#include <QObject>
#include <functional>
#include <memory>

class CardMonitor;
class IPrompt;
class PlaybackController;
class Playlist;
class RecordingLibrary;
class SettingsCommand;
struct SettingsSheetContext;

class ViewerCore : public QObject {
    Q_OBJECT
public:
    struct Parts {
        // None: the program runs without playback.
        std::unique_ptr<PlaybackEngine> engine;
        // The machine's drives; the system's own provider when null.
        std::unique_ptr<DriveProvider> drives;
        // Formats the card; UDisks2 on the system bus when null.
        std::unique_ptr<CardFormatter> cardFormatter;
    };

    explicit ViewerCore(Parts parts, QObject* parent = nullptr);
    ~ViewerCore() override;

    RecordingLibrary& library() const { return *m_library; }
    DeviceConfig& config() { return m_config; }
    const DeviceConfig& config() const { return m_config; }
    Playlist& playlist() const { return *m_playlist; }
    PlaybackController& controller() const { return *m_controller; }
    CardMonitor& cardMonitor() const { return *m_cardMonitor; }
    SettingsCommand& settings() const { return *m_settings; }
    DriveProvider& drives() const { return *m_drives; }

    // Questions and failures of playback and the settings command (may come later).
    void SetPrompt(IPrompt* prompt);
    // Runs the settings sheet modally; true when closed with OK. Unset: Cancel.
    void SetSettingsSheet(std::function<bool(SettingsSheetContext&)> run) { m_runSheet = std::move(run); }

    // MSG_SCAN_CARD: find and scan the card, once the settings sheet has
    // closed when it is open (a re-inserted card would overwrite the record
    // under the user's edits).
    void ScanCardWhenFree();

signals:
    // The card's settings were read or changed: the read-outs take the speed
    // unit, the map its settings, and the window repaints.
    void settingsChanged();
    // Nothing plays: the speed read-out shows 0 in this unit.
    void speedReadoutReset(int speedUnit);

protected:
    bool event(QEvent* event) override;

private:
    void createSettingsCommand();

    std::unique_ptr<DriveProvider> m_drives;
    std::unique_ptr<CardFormatter> m_cardFormatter;
    std::unique_ptr<RecordingLibrary> m_library;
    DeviceConfig m_config;
    std::unique_ptr<Playlist> m_playlist;
    std::unique_ptr<PlaybackController> m_controller;
    std::unique_ptr<CardMonitor> m_cardMonitor;
    std::unique_ptr<SettingsCommand> m_settings;
    std::function<bool(SettingsSheetContext&)> m_runSheet;
};
