#pragma once
// What the viewer does after "Can not OpenFile" for a recording the camera
// could not finish: ask whether to recover it, ask where to save the new file
// (the user's video folder unless the user picks another place), recover it
// with progress and cancel, and tell why when that fails.
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"

#include <QString>

class RecoveryOffer {
public:
    // Runs a recovery while the user sees its progress and may cancel it
    // (the UI runs it off the UI thread). False and the reason on failure;
    // *cancelled when the user stopped it.
    class IRunner {
    public:
        virtual ~IRunner() = default;
        virtual bool Run(const QString& cutPath, const QString& cardRoot, const QString& outPath, QString* error,
                         bool* cancelled) = 0;
    };

    RecoveryOffer(IPrompt& prompt, IFileDialogs& dialogs, IRunner& runner);

    // The recovered file's path, or empty when the file is not an unfinished
    // recording, the user declined or cancelled, or the recovery failed.
    QString OfferAfterFailedOpen(const QString& path, const QString& cardRoot, const QString& videoFolder);

    // "<video folder>/<name>_recovered.mp4".
    static QString DefaultSaveName(const QString& cutPath, const QString& videoFolder);
    // The user's video folder (home when there is none).
    static QString UserVideoFolder();

    static const QString kQuestion;
    static const QString kFailed;

private:
    IPrompt& m_prompt;
    IFileDialogs& m_dialogs;
    IRunner& m_runner;
};
