#pragma once
// Questions and notices as message boxes owned by the main window.
#include "card/IPrompt.h"

class QWidget;

class MessageBoxPrompt : public IPrompt {
public:
    explicit MessageBoxPrompt(QWidget* owner);
    bool AskYesNo(const QString& caption, const QString& text) override;
    void ShowMessage(const QString& caption, const QString& text) override;
    void ShowInformation(const QString& caption, const QString& text) override;

private:
    QWidget* m_owner;
};
