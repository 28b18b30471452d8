// halcyon-deck-cli scan ROOT: the five recording lists the viewer would show
// for a card at ROOT, as JSON.
#include "tools/cli/CliCommand.h"

#include "card/RecordingLibrary.h"
#include "card/SystemDriveProvider.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

QJsonValue timeJson(const CalendarTime& t)
{
    if (t.isNull())
        return QJsonValue::Null;
    return QString::asprintf("%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.year, t.month, t.day, t.hour, t.minute,
                             t.second, t.milliseconds);
}

int runScan(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("ROOT"), QStringLiteral("the card's folder"));
    if (const auto status = parseCliArguments(parser, "scan", QStringLiteral("scan ROOT"), args))
        return *status;
    const QStringList roots = parser.positionalArguments();
    if (roots.size() != 1)
        return cliUsageError("scan", QStringLiteral("scan ROOT"), QStringLiteral("one folder, please"));
    if (!QFileInfo(roots[0]).isDir()) {
        std::fprintf(stderr, "scan: %s is not a folder\n", qPrintable(roots[0]));
        return 1;
    }
    const QString root = SystemDriveProvider::NormalizeRoot(roots[0]);
    RecordingLibrary library;
    library.ScanCard(root);

    QJsonArray lists;
    for (int c = 0; c < kCategoryCount; ++c) {
        QJsonArray recordings;
        for (int i = 0; i < library.RecordingCount(c); ++i) {
            const BBOX_ITEM* e = library.GetRecording(c, i);
            recordings.append(QJsonObject{{QStringLiteral("name"), e->name},
                                          {QStringLiteral("path"), e->path},
                                          {QStringLiteral("type"), e->type},
                                          {QStringLiteral("time"), timeJson(e->time)}});
        }
        lists.append(QJsonObject{{QStringLiteral("category"), c},
                                 {QStringLiteral("name"), CategoryTypeText(c)},
                                 {QStringLiteral("recordings"), recordings}});
    }
    const QJsonObject out{{QStringLiteral("root"), root},
                          {QStringLiteral("isCard"), RecordingLibrary::IsCardRoot(root)},
                          {QStringLiteral("lists"), lists}};
    const QByteArray text = QJsonDocument(out).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

const CliCommandRegistration registration({"scan", "scan ROOT                 list the recordings of a card as JSON", runScan});

} // namespace
