#pragma once
// The settings command (the gear button): pause a running recording, read the
// card's settings, run the settings sheet on a working copy, commit it to the
// card on OK, resume, and empty the list when the card was formatted.
//
// While the sheet is open the window keeps its timers, so two things must wait
// for it: a card scan (a re-inserted card would overwrite the record under the
// user's edits) and the automatic advance to the next recording. IsOpen tells
// the window and the playback side; RunWhenClosed queues the scan.
#include "config/DeviceConfig.h"
#include "config/SettingsSheetContext.h"

#include <functional>

class IPrompt;
class PlaybackController;

class SettingsCommand {
public:
    struct Hooks {
        // Pauses the recording when it runs; true when it paused it here.
        std::function<bool()> pauseIfRunning;
        // Runs the recording paused here again, if it is still open.
        std::function<void()> resume;
        // The card root as it is now; empty without a card.
        std::function<QString()> cardRoot;
        // Runs the sheet modally on the context; true when closed with OK.
        std::function<bool(SettingsSheetContext&)> runSheet;
        // The speed read-out shows 0 in the new unit (nothing plays to update it).
        std::function<void(int speedUnit)> resetSpeedReadout;
        // Everything the window shows may have changed with the settings.
        std::function<void()> redraw;
        // The card was formatted: the list and the library hold nothing real.
        std::function<void()> clearAfterFormat;
        // Closes the open recording before a format.
        std::function<void()> releaseMedia;
        // While the sheet is open the end of a recording does not start the
        // next one: holdAdvance returns whether it was allowed, restoreAdvance
        // puts that back.
        std::function<bool()> holdAdvance;
        std::function<void(bool allowed)> restoreAdvance;
        // The self-closing notice. Unset: the sheet shows its own.
        std::function<void(const QString& text)> showNotice;
        // The memory page's format and the card monitor it holds meanwhile.
        CardFormatter* cardFormatter = nullptr;
        std::function<void()> holdCardMonitor;
        std::function<void()> releaseCardMonitor;
    };

    SettingsCommand(DeviceConfig& config, Hooks hooks);

    // The hooks that concern playback, all answered by the controller: a
    // running recording pauses for the sheet and runs again after, it closes
    // before a format, and while the sheet is open the end of a recording
    // does not start the next one.
    static void AskPlayback(Hooks& hooks, PlaybackController& controller);

    // Questions and failures go to the prompt (it may be set after construction).
    void SetPrompt(IPrompt* prompt) { m_prompt = prompt; }

    void Run();

    bool IsOpen() const { return m_open; }
    // Runs action now, or once the sheet has closed when it is open. Only the
    // latest queued action runs: one scan after the sheet is enough.
    void RunWhenClosed(std::function<void()> action);

private:
    DeviceConfig& m_config;
    Hooks m_hooks;
    IPrompt* m_prompt = nullptr;
    bool m_open = false;
    std::function<void()> m_pending;
};
