#pragma once
// Answers message boxes in tests and records what they said.
#include "app/IPrompt.h"

#include <QList>
#include <QStringList>

class FakePrompt : public IPrompt {
public:
    Answer Show(const QString& text, Buttons buttons = Buttons::Ok) override
    {
        texts << text;
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QStringList texts;
    QList<Answer> answers; // queued answers; Ok / Yes when empty
};
