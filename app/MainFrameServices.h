#pragma once
// What the main window gets from the application instead of creating it
// itself, so tests can hand in fakes.
#include "mp4/RecordingRecovery.h"

#include <functional>
#include <memory>

class IClipEncoder;
class IFileDialogs;
class IMapPopup;
class IPrompt;
class MapConfig;
class VolumePath;
struct SettingsSheetContext;

struct MainFrameServices {
    IPrompt* prompt = nullptr;
    // The start-up media component check (1, or -1 .. -4).
    std::function<int()> checkMediaComponents;
    // Open/save/folder dialogs; the desktop's own when null.
    IFileDialogs* fileDialogs = nullptr;
    // The system's sound output (mute and volume, read only); none when empty.
    std::function<std::unique_ptr<VolumePath>()> createVolumePath;
    // Runs the settings sheet modally; true when closed with OK. Empty: the sheet itself.
    std::function<bool(SettingsSheetContext&)> runSettingsSheet;
    // What recovering a cut recording decodes with; no recovery is offered when empty.
    std::function<RecordingRecovery::Codecs()> recoveryCodecs;
    // The encoder of one incident clip; empty or null: this machine cannot export.
    std::function<std::unique_ptr<IClipEncoder>()> createClipEncoder;
    // Creates the map pop-up (hidden) for the map configuration; no map when empty.
    std::function<std::unique_ptr<IMapPopup>(const MapConfig&)> createMapPopup;
};
