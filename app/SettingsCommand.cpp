#include "app/SettingsCommand.h"

#include "app/PlaybackController.h"
#include "card/IPrompt.h"

#include <utility>

SettingsCommand::SettingsCommand(DeviceConfig& config, Hooks hooks) : m_config(config), m_hooks(std::move(hooks)) {}

void SettingsCommand::AskPlayback(Hooks& hooks, PlaybackController& controller)
{
    PlaybackController* c = &controller;
    hooks.pauseIfRunning = [c] { return c->PauseForDialog(); };
    hooks.resume = [c] { c->ResumeAfterDialog(true); };
    hooks.releaseMedia = [c] { c->CloseRecording(); };
    hooks.holdAdvance = [c] {
        const bool allowed = c->AutoAdvanceAllowed();
        c->SetAutoAdvanceAllowed(false);
        return allowed;
    };
    hooks.restoreAdvance = [c](bool allowed) { c->SetAutoAdvanceAllowed(allowed); };
}

void SettingsCommand::RunWhenClosed(std::function<void()> action)
{
    if (m_open) {
        m_pending = std::move(action);
        return;
    }
    if (action)
        action();
}

void SettingsCommand::Run()
{
    if (m_open)
        return;
    const bool pausedHere = m_hooks.pauseIfRunning && m_hooks.pauseIfRunning();
    auto cardRootNow = [this] { return m_hooks.cardRoot ? m_hooks.cardRoot() : QString(); };
    const QString root = cardRootNow();
    // Without a card there is nothing to edit; the recording stays paused.
    if (!CardRootPresent(root))
        return;
    m_config.ReadDeviceSettings(root + QLatin1String(kSettingsFileName));
    m_config.CopyLiveToWorking();

    SettingsSheetContext context;
    context.config = &m_config;
    context.cardRoot = cardRootNow;
    if (m_prompt) {
        IPrompt* prompt = m_prompt;
        context.askYesNo = [prompt](const QString& caption, const QString& text) { return prompt->AskYesNo(caption, text); };
        context.showMessage = [prompt](const QString& caption, const QString& text) { prompt->ShowMessage(caption, text); };
    }
    context.showNotice = m_hooks.showNotice;
    context.releaseMedia = m_hooks.releaseMedia;
    context.cardFormatter = m_hooks.cardFormatter;
    context.holdCardMonitor = m_hooks.holdCardMonitor;
    context.releaseCardMonitor = m_hooks.releaseCardMonitor;

    m_open = true;
    const bool advance = m_hooks.holdAdvance && m_hooks.holdAdvance();
    const bool ok = m_hooks.runSheet && m_hooks.runSheet(context);
    if (m_hooks.restoreAdvance)
        m_hooks.restoreAdvance(advance);
    m_open = false;

    if (ok) {
        const CardWrite outcome = m_config.CommitWorking(cardRootNow());
        if (outcome != CardWrite::Written) {
            if (m_prompt)
                m_prompt->ShowMessage(SettingsWriteCaption(), SettingsWriteFailureText(outcome));
        } else if (!pausedHere && m_hooks.resetSpeedReadout) {
            // A running recording's next tick shows the new unit by itself.
            m_hooks.resetSpeedReadout(m_config.live.speedUnit);
        }
        if (m_hooks.redraw)
            m_hooks.redraw();
    }
    if (pausedHere && m_hooks.resume)
        m_hooks.resume();
    if (context.cardFormatted && m_hooks.clearAfterFormat)
        m_hooks.clearAfterFormat();
    if (auto pending = std::exchange(m_pending, {}))
        pending();
}
