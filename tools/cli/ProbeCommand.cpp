// probe FILE: builds the media graph for a recording without a window and
// prints what the graph found, as JSON.
#include "engine/GstPlaybackEngine.h"
#include "engine/IVideoWindow.h"
#include "engine/ITelemetrySource.h"
#include "tools/cli/CliCommand.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <cstdio>

namespace {
// Stands in for a video window: takes the pictures and shows nothing.
class NullVideoWindow : public IVideoWindow {
public:
    explicit NullVideoWindow(int id) : m_id(id) {}
    int controlId() const override { return m_id; }
    void presentFrame(const QImage&) override {}
    void repaintFrame() override {}
    // A small target keeps the graph from converting full pictures nobody sees.
    QSize clientSize() const override { return QSize(64, 36); }

private:
    int m_id;
};


int probe(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("the recording"));
    if (const auto status = parseCliArguments(parser, "probe", QStringLiteral("probe FILE"), args))
        return *status;
    if (parser.positionalArguments().size() != 1)
        return cliUsageError("probe", QStringLiteral("probe FILE"), QStringLiteral("one recording, please"));
    const QString path = parser.positionalArguments().first();
    // The reason goes out as one line: library chatter stays quiet.
    av_log_set_level(AV_LOG_QUIET);
    QLoggingCategory::setFilterRules(QStringLiteral("vx.*.info=false\nvx.*.debug=false"));
    NullVideoWindow w1(401), w2(402), w3(605), w4(606);
    GstPlaybackEngine engine;
    engine.SetAudioSinkFactory("fakesink");
    engine.SetVideoWindows({&w1, &w2, &w3, &w4});
    if (!engine.Open(path)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(engine.LastOpenError()));
        return 1;
    }
    QJsonArray channels;
    const int pins = engine.VideoPinCount();
    for (int k = 1; k <= std::min(pins, 4); ++k) {
        QImage picture;
        QJsonObject channel{{QStringLiteral("channel"), k}};
        if (engine.GrabChannel(k, picture) && !picture.isNull()) {
            channel.insert(QStringLiteral("width"), picture.width());
            channel.insert(QStringLiteral("height"), picture.height());
        } else {
            channel.insert(QStringLiteral("width"), 0);
            channel.insert(QStringLiteral("height"), 0);
        }
        channels.append(channel);
    }
    ITelemetrySource* telemetry = engine.TelemetrySource();
    const int telemetryLines = telemetry ? int(telemetry->ReadAllSamples().size()) : 0;
    const QJsonObject out{
        {QStringLiteral("file"), path},
        {QStringLiteral("videoPins"), pins},
        {QStringLiteral("audioPins"), engine.AudioPinValue()},
        {QStringLiteral("durationMs"), static_cast<qint64>(engine.GetDurationMs().count())},
        {QStringLiteral("channels"), channels},
        {QStringLiteral("telemetryLines"), telemetryLines},
    };
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    engine.Close();
    return 0;
}

CliCommandRegistration registration({"probe", "probe FILE    build the media graph for FILE and print what it holds (JSON)",
                                      &probe});
} // namespace
