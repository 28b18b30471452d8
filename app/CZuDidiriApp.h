#pragma once
// The application object: start-up in a fixed order up to the idle main
// window, and the end of the process after the window has gone.
#include "library/MessageBoxPrompt.h"

#include <memory>

class CVxMainFrame;

class CZuDidiriApp {
public:
    CZuDidiriApp();
    ~CZuDidiriApp();

    // False ends the process without a window.
    bool InitInstance();
    int ExitInstance(int exitCode);
    // InitInstance, the event loop, then the main window object goes, then ExitInstance.
    int Run();

    CVxMainFrame* mainWindow() const { return m_mainWnd.get(); }

private:
    void StartScreenshotPlayback();

    std::unique_ptr<MessageBoxPrompt> m_prompt;
    std::unique_ptr<CVxMainFrame> m_mainWnd;
};
