#pragma once
// Answers message boxes in tests and records what they said.
#include "card/IPrompt.h"

#include <QStringList>

class FakePrompt : public IPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override
    {
        texts << text;
        return answerYes;
    }
    void ShowMessage(const QString& caption, const QString& text) override { texts << text; }
    void ShowInformation(const QString& caption, const QString& text) override
    {
        texts << text;
        informations << text;
    }

    QStringList texts;        // everything said, in order
    QStringList informations; // what was said as good news
    bool answerYes = true;
};
