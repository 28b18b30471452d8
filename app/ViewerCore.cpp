#include "app/ViewerCore.h"

#include "app/PlaybackController.h"
#include "app/Playlist.h"
#include "app/SettingsCommand.h"
#include "base/Messages.h"
#include "card/CardMonitor.h"
#include "card/RecordingLibrary.h"
#include "card/SystemDriveProvider.h"
#include "card/UDisksCardFormatter.h"
#include "engine/PlaybackEngine.h"

#include <QEvent>

ViewerCore::ViewerCore(Parts parts, QObject* parent) : QObject(parent)
{
    m_drives = parts.drives ? std::move(parts.drives) : SystemDriveProvider::Create();
    m_cardFormatter = parts.cardFormatter ? std::move(parts.cardFormatter) : std::make_unique<UDisksCardFormatter>();
    m_library = std::make_unique<RecordingLibrary>();
    m_playlist = std::make_unique<Playlist>(*m_library);
    m_controller = std::make_unique<PlaybackController>(std::move(parts.engine), *m_playlist, m_config);
    // The scan requests come back here as MSG_SCAN_CARD.
    m_cardMonitor = std::make_unique<CardMonitor>(*m_library, *m_drives, m_config, this);
    connect(m_cardMonitor.get(), &CardMonitor::cardRemoved, m_controller.get(), &PlaybackController::OnCardRemoved);
    connect(m_cardMonitor.get(), &CardMonitor::settingsLoaded, this, &ViewerCore::settingsChanged);
    createSettingsCommand();
}

ViewerCore::~ViewerCore() = default;

void ViewerCore::SetPrompt(IPrompt* prompt)
{
    m_controller->SetPrompt(prompt);
    m_settings->SetPrompt(prompt);
}

void ViewerCore::createSettingsCommand()
{
    SettingsCommand::Hooks hooks;
    SettingsCommand::AskPlayback(hooks, *m_controller);
    hooks.cardRoot = [this] { return m_library->cardRoot(); };
    hooks.runSheet = [this](SettingsSheetContext& context) { return m_runSheet && m_runSheet(context); };
    hooks.resetSpeedReadout = [this](int unit) { emit speedReadoutReset(unit); };
    hooks.redraw = [this] { emit settingsChanged(); };
    hooks.clearAfterFormat = [this] {
        m_library->ResetLibrary();
        if (m_library->cardRoot().isEmpty())
            m_cardMonitor->PostScanRequest();
    };
    hooks.cardFormatter = m_cardFormatter.get();
    hooks.holdCardMonitor = [this] { m_cardMonitor->Hold(); };
    hooks.releaseCardMonitor = [this] { m_cardMonitor->Release(); };
    m_settings = std::make_unique<SettingsCommand>(m_config, std::move(hooks));
}

void ViewerCore::ScanCardWhenFree()
{
    m_settings->RunWhenClosed([this] { m_cardMonitor->OnScanCard(); });
}

bool ViewerCore::event(QEvent* e)
{
    switch (int(e->type())) {
    case MSG_SCAN_CARD:
        ScanCardWhenFree();
        return true;
    case MSG_LIST_RESET:
        m_library->ResetLibrary();
        return true;
    default:
        return QObject::event(e);
    }
}
