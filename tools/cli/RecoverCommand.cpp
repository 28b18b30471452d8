// recover CUT.mp4 [--reference GOOD.mp4] [--card ROOT] -o OUT.mp4: rebuilds a
// recording the camera could not finish and prints what was recovered (JSON).
#include "engine/RecoveryDecoder.h"
#include "mp4/RecordingRecovery.h"
#include "tools/cli/CliCommand.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {
constexpr char kUsage[] = "recover CUT.mp4 [--reference GOOD.mp4] [--card ROOT] -o OUT.mp4";

int recover(const QStringList& args)
{
    QCommandLineParser parser;
    const QCommandLineOption referenceOption(QStringLiteral("reference"),
                                             QStringLiteral("a finished recording of the same camera"),
                                             QStringLiteral("GOOD.mp4"));
    const QCommandLineOption cardOption(QStringLiteral("card"), QStringLiteral("where to look for a reference"),
                                        QStringLiteral("ROOT"));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("the rebuilt recording"), QStringLiteral("OUT.mp4"));
    parser.addOptions({referenceOption, cardOption, outputOption});
    parser.addPositionalArgument(QStringLiteral("CUT.mp4"), QStringLiteral("the recording the camera could not finish"));
    if (const auto status = parseCliArguments(parser, "recover", QLatin1String(kUsage), args))
        return *status;
    if (parser.positionalArguments().size() != 1)
        return cliUsageError("recover", QLatin1String(kUsage), QStringLiteral("one recording, please"));
    const QString cut = parser.positionalArguments().first();
    const QString out = parser.value(outputOption);
    if (out.isEmpty())
        return cliUsageError("recover", QLatin1String(kUsage), QStringLiteral("no output file (-o)"));
    QString reference = parser.value(referenceOption);
    QString card = parser.value(cardOption);
    av_log_set_level(AV_LOG_QUIET);
    RecoveryDecoder decoder;
    RecordingRecovery recovery({[&decoder](const QByteArray& config, const std::uint8_t* data, std::size_t size,
                                           bool exact) { return decoder.aacFrames(config, data, size, exact); },
                                &RecoveryDecoder::decodesPicture});
    QString reason;
    if (!RecordingRecovery::IsCut(cut)) {
        Mp4Index::FindCut(cut, &reason);
        std::fprintf(stderr, "%s is not an unfinished recording: %s\n", qPrintable(cut), qPrintable(reason));
        return 1;
    }
    if (reference.isEmpty()) {
        // Without a card named, the folder above the recording's is taken for the card.
        if (card.isEmpty())
            card = QFileInfo(QFileInfo(cut).absolutePath()).absolutePath();
        reference = recovery.FindReference(cut, card, &reason);
        if (reference.isEmpty()) {
            std::fprintf(stderr, "no reference recording for %s: %s\n", qPrintable(cut), qPrintable(reason));
            return 1;
        }
    }
    const auto summary = recovery.Recover(cut, reference, out, {}, &reason);
    if (!summary) {
        std::fprintf(stderr, "cannot recover %s: %s\n", qPrintable(cut), qPrintable(reason));
        return 1;
    }
    QJsonArray tracks;
    for (const auto& t : summary->tracks)
        tracks.append(QJsonObject{{QStringLiteral("kind"), t.kind},
                                  {QStringLiteral("codec"), t.codec},
                                  {QStringLiteral("samples"), static_cast<qint64>(t.samples)},
                                  {QStringLiteral("durationMs"), static_cast<qint64>(t.durationMs)}});
    const QJsonObject json{{QStringLiteral("file"), out},
                           {QStringLiteral("reference"), summary->reference},
                           {QStringLiteral("tracks"), tracks},
                           {QStringLiteral("bytesRecovered"), static_cast<qint64>(summary->bytesRecovered)},
                           {QStringLiteral("bytesSkipped"), static_cast<qint64>(summary->bytesSkipped)}};
    std::fputs(QJsonDocument(json).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}

CliCommandRegistration registration(
    {"recover", "recover CUT.mp4 [--reference GOOD.mp4] -o OUT.mp4    rebuild a recording cut by power loss (JSON)",
     &recover});
} // namespace
