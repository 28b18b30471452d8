#pragma once
// Questions and notices put to the user (message boxes owned by the main
// window). The UI answers with QMessageBox; tests answer with a script.
#include <QString>

class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Yes/No question; true only for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
    // A warning or failure, with an OK button.
    virtual void ShowMessage(const QString& caption, const QString& text) = 0;
    // Good news (something done as asked), with an OK button.
    virtual void ShowInformation(const QString& caption, const QString& text) = 0;
};
