#include "card/PlatformFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

PlatformFileDialogs::PlatformFileDialogs(QWidget* owner)
    : m_owner(owner)
{
}

QString PlatformFileDialogs::SaveFileName(const QString& initialName, const QString& defaultSuffix,
                                          const QString& filter, bool confirmOverwrite)
{
    QFileDialog dialog(m_owner, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString PlatformFileDialogs::PickFolder(const QString& title)
{
    return QFileDialog::getExistingDirectory(m_owner, title);
}

QStringList PlatformFileDialogs::OpenFileNames(const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(m_owner, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
