#include "app/CZuDidiriApp.h"

#include "app/CVxFrame.h"
#include "app/StartupRegistry.h"
#include "engine/MediaComponentCheck.h"
#include "engine/PlaybackEngine.h"

#include <QApplication>
#include <QSettings>

CZuDidiriApp::CZuDidiriApp() = default;
CZuDidiriApp::~CZuDidiriApp()
{
    m_mainWnd.reset(); // before the prompt it points to
}

bool CZuDidiriApp::InitInstance()
{
    // Settings of our own go through QSettings in INI files under the user's
    // XDG config folder, under the framework key.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QCoreApplication::setOrganizationName(AppSettingsKey());
    QCoreApplication::setApplicationName(QStringLiteral("Halcyon Deck"));

    MainFrameServices services;
    services.checkMediaComponents = [] { return CheckMediaComponents(); };
    // services.createEngine: the GStreamer PlaybackEngine, once it exists.
    m_mainWnd = std::make_unique<CVxFrame>(std::move(services));
    m_prompt = std::make_unique<MessageBoxPrompt>(m_mainWnd.get());
    m_mainWnd->setPrompt(m_prompt.get());
    if (!m_mainWnd->LoadFrame())
        return false;
    m_mainWnd->resize(1130, 640);
    m_mainWnd->show();
    return true;
}

int CZuDidiriApp::ExitInstance(int exitCode)
{
    return exitCode;
}

int CZuDidiriApp::Run()
{
    if (!InitInstance())
        return 1;
    const int code = QApplication::exec();
    m_mainWnd.reset();
    return ExitInstance(code);
}
