#include "app/MessageBoxPrompt.h"

#include <QMessageBox>

IPrompt::Answer MessageBoxPrompt::Show(const QString& text, Buttons buttons)
{
    const QString caption = QStringLiteral("Halcyon Deck");
    switch (buttons) {
    case Buttons::Ok:
        QMessageBox::information(m_parent, caption, text);
        return Answer::Ok;
    case Buttons::OkCancel:
        return QMessageBox::question(m_parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok
            ? Answer::Ok
            : Answer::Cancel;
    case Buttons::YesNo:
        return QMessageBox::question(m_parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
            ? Answer::Yes
            : Answer::No;
    }
    return Answer::Cancel;
}
