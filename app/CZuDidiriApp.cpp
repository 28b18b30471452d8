#include "app/CZuDidiriApp.h"

#include "app/CVxFrame.h"
#include "app/StartupRegistry.h"
#include "engine/MediaComponentCheck.h"
#include "engine/PlaybackEngine.h"

#include <QApplication>
#include <QSettings>

CZuDidiriApp::CZuDidiriApp() = default;
CZuDidiriApp::~CZuDidiriApp() = default;

bool CZuDidiriApp::InitInstance()
{
    // Settings of our own go through QSettings in INI files under the user's
    // XDG config folder, under the framework key.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QCoreApplication::setOrganizationName(AppSettingsKey());
    QCoreApplication::setApplicationName(QStringLiteral("Halcyon Deck"));

    MainFrameServices services;
    services.prompt = &m_prompt;
    services.checkMediaComponents = [] { return CheckMediaComponents(); };
    // services.createEngine: the GStreamer PlaybackEngine, once it exists.
    m_mainWnd = std::make_unique<CVxFrame>(std::move(services));
    m_prompt.setParentWidget(m_mainWnd.get());
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
