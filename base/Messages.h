#pragma once
// Private messages of the main window and the skin controls. They are posted
// (QCoreApplication::postEvent), never sent, so a handler runs after the
// current one returns, as the camera software relied on.
#include <QEvent>

enum VxMessage : int {
    WM_SLIDER_MOVING = 0x3405,
    WM_SLIDER_MOVED = 0x3406,
    MSG_LIST_RESET = 0x3410,
    MSG_SCAN_CARD = 0x3411,
    MSG_SHELL_MEDIA = 0x3412,
    MSG_MEMORY_BAR = 0x3421,
};

// WM_SLIDER_MOVING / WM_SLIDER_MOVED: control id and position.
class SliderEvent : public QEvent {
public:
    SliderEvent(VxMessage type, int controlId, int position)
        : QEvent(QEvent::Type(type)), id(controlId), pos(position) {}
    int id;
    int pos;
};
