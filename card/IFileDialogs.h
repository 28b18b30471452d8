#pragma once
// The platform's file dialogs. Every call returns an empty result when the
// user cancels. Filters are in Qt's form, "Movie Files (*.mp4)".
#include <QString>
#include <QStringList>

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // defaultSuffix (without dot) is appended to a name typed without one;
    // confirmOverwrite asks before an existing file is chosen.
    virtual QString SaveFileName(const QString& initialName, const QString& defaultSuffix, const QString& filter,
                                 bool confirmOverwrite) = 0;
    // A folder of the file system.
    virtual QString PickFolder(const QString& title) = 0;
    // Several existing files.
    virtual QStringList OpenFileNames(const QString& filter, const QString& defaultSuffix) = 0;
};
