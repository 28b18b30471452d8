#pragma once
// Message boxes with fixed texts. The application shows them with QMessageBox
// (MessageBoxPrompt); tests answer them with a recording fake.
#include <QString>

class IPrompt {
public:
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~IPrompt() = default;
    virtual Answer Show(const QString& text, Buttons buttons = Buttons::Ok) = 0;
};
