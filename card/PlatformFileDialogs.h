#pragma once
// The file dialogs of the desktop (QFileDialog's static functions, which use
// the platform's own dialog where there is one).
#include "card/IFileDialogs.h"

class QWidget;

class PlatformFileDialogs : public IFileDialogs {
public:
    explicit PlatformFileDialogs(QWidget* owner);
    QString SaveFileName(const QString& initialName, const QString& defaultSuffix, const QString& filter,
                         bool confirmOverwrite) override;
    QString PickFolder(const QString& title) override;
    QStringList OpenFileNames(const QString& filter, const QString& defaultSuffix) override;

private:
    QWidget* m_owner;
};
