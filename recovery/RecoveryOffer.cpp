#include "recovery/RecoveryOffer.h"

#include "card/RecordingFileOps.h"
#include "mp4/RecordingRecovery.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include "base/UiText.h"
#include <QCoreApplication>

const QString RecoveryOffer::kQuestion = QString::fromUtf8(QT_TRANSLATE_NOOP(
    "RecoveryOffer",
    "이 녹화 파일은 전원이 끊겨 마무리되지 않았습니다.\n같은 카메라의 다른 녹화를 참고하여 새 파일로 복구하시겠습니까?\n(원본 파일은 그대로 둡니다.)"));
const QString RecoveryOffer::kFailed = QString::fromUtf8(QT_TRANSLATE_NOOP("RecoveryOffer", "녹화 파일을 복구하지 못했습니다."));

RecoveryOffer::RecoveryOffer(IPrompt& prompt, IFileDialogs& dialogs, IRunner& runner)
    : m_prompt(prompt), m_dialogs(dialogs), m_runner(runner)
{
}

QString RecoveryOffer::DefaultSaveName(const QString& cutPath, const QString& videoFolder)
{
    return QDir(videoFolder).filePath(QFileInfo(cutPath).completeBaseName() + QStringLiteral("_recovered.mp4"));
}

QString RecoveryOffer::UserVideoFolder()
{
    const QString movies = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return movies.isEmpty() ? QDir::homePath() : movies;
}

void RecoveryOffer::OfferAfterFailedOpen(const QString& path, const QString& cardRoot, const QString& videoFolder,
                                        std::function<void(const QString& recovered)> done)
{
    if (!RecordingRecovery::IsCut(path))
        return done({});
    const QString caption = QFileInfo(path).fileName();
    if (!m_prompt.AskYesNo(caption, UiText("RecoveryOffer", kQuestion)))
        return done({});
    // The video folder may not exist yet on a fresh account.
    QDir().mkpath(videoFolder);
    const QString out = m_dialogs.SaveFileName(DefaultSaveName(path, videoFolder), QStringLiteral("mp4"),
                                               RecordingFileOps::kMovieFilter, true);
    if (out.isEmpty())
        return done({});
    if (QFileInfo(out).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) {
        m_prompt.ShowMessage(caption, UiText("RecoveryOffer", kFailed) + QStringLiteral("\n") +
                                          QCoreApplication::translate("RecoveryOffer", "원본 파일에는 저장할 수 없습니다."));
        return done({});
    }
    IPrompt* prompt = &m_prompt;
    m_runner.Start(path, cardRoot, out, [prompt, caption, out, done](const Result<void>& outcome, bool cancelled) {
        if (outcome) {
            done(out);
            return;
        }
        if (!cancelled)
            prompt->ShowMessage(caption, UiText("RecoveryOffer", kFailed) + QStringLiteral("\n") + outcome.error());
        done({});
    });
}
