#include "card/MessageBoxPrompt.h"

#include <QMessageBox>

MessageBoxPrompt::MessageBoxPrompt(QWidget* owner)
    : m_owner(owner)
{
}

bool MessageBoxPrompt::AskYesNo(const QString& caption, const QString& text)
{
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxPrompt::ShowMessage(const QString& caption, const QString& text)
{
    QMessageBox::warning(m_owner, caption, text);
}

void MessageBoxPrompt::ShowInformation(const QString& caption, const QString& text)
{
    QMessageBox::information(m_owner, caption, text);
}
