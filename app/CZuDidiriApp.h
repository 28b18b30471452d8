#pragma once
// The application object: start-up in a fixed order up to the idle main
// window, and the end of the process after the window has gone.
#include "card/MessageBoxPrompt.h"

#include <QStringList>
#include <memory>

class CVxMainFrame;
class ViewerCore;

class CZuDidiriApp {
public:
    CZuDidiriApp();
    ~CZuDidiriApp();

    // False ends the process without a window.
    bool InitInstance();
    int ExitInstance(int exitCode);
    // InitInstance, the event loop, then the main window object goes, then ExitInstance.
    int Run();
    // Recordings named on the command line, opened once the first card scan has run.
    void SetStartupFiles(const QStringList& paths) { m_startupFiles = paths; }

    CVxMainFrame* mainWindow() const { return m_mainWnd.get(); }

private:
    void StartScreenshotPlayback();
    void OpenStartupFiles();

    std::unique_ptr<ViewerCore> m_core;
    std::unique_ptr<MessageBoxPrompt> m_prompt;
    std::unique_ptr<CVxMainFrame> m_mainWnd;
    QStringList m_startupFiles;
};
