#pragma once
// The main window as the application creates it. All data and behaviour are in
// CVxMainFrame; this class exists because the application names it.
#include "app/CVxMainFrame.h"

class CVxFrame : public CVxMainFrame {
    Q_OBJECT
public:
    explicit CVxFrame(MainFrameServices services, QWidget* parent = nullptr)
        : CVxMainFrame(std::move(services), parent) {}
};
