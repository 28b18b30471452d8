#pragma once
// What the viewer does after "Can not OpenFile" for a recording the camera
// could not finish: ask whether to recover it, ask where to save the new file
// (the user's video folder unless the user picks another place), recover it
// with progress and cancel, and tell why when that fails.
#include "base/Result.h"
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"

#include <QString>
#include <functional>

class RecoveryOffer {
public:
    // Runs a recovery while the user sees its progress and may cancel it;
    // the work runs off the UI thread and Start returns at once. done runs on
    // the UI thread when it has ended: the outcome (the reason on failure) and
    // whether the user stopped it. One recovery at a time: while one runs,
    // another fails at once.
    class IRunner {
    public:
        using Done = std::function<void(const Result<void>& outcome, bool cancelled)>;
        virtual ~IRunner() = default;
        virtual void Start(const QString& cutPath, const QString& cardRoot, const QString& outPath, Done done) = 0;
    };

    RecoveryOffer(IPrompt& prompt, IFileDialogs& dialogs, IRunner& runner);

    // done gets the recovered file's path, or empty when the file is not an
    // unfinished recording, the user declined or cancelled, or the recovery
    // failed (the user has been told why). It may run after this object has
    // gone; the prompt must outlive the recovery.
    void OfferAfterFailedOpen(const QString& path, const QString& cardRoot, const QString& videoFolder,
                              std::function<void(const QString& recovered)> done);

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
