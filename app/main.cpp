#include "app/CZuDidiriApp.h"
#include "app/UiLanguage.h"
#include "base/CommandLine.h"
#include "display/MapWebEngineSetup.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <cstdio>

namespace {
const QString kProgram = QStringLiteral("halcyon-deck");
const QString kUsage = QStringLiteral("usage: halcyon-deck [options] [FILE...]");
const QString kAbout = QStringLiteral(
    "Plays car dash camera recordings: finds the camera's SD card, lists its\n"
    "recordings by category and plays front and rear pictures with sound, map,\n"
    "speed and G-sensor plot. Each FILE joins the list of all recordings and\n"
    "the first one plays.\n");
const QString kEnvironment = QStringLiteral(
    "Environment:\n"
    "  HALCYON_CARD_ROOTS  colon-separated folders to treat as camera cards\n"
    "  HALCYON_LANG        ko or en: the language of the interface\n");

// Single-dash words read as whole options ("-h", "-help"): Qt's own options
// ("-platform", "-style", "-reverse") are never taken for a row of letters.
void describe(QCommandLineParser& parser, const QCommandLineOption& version)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(kAbout);
    parser.addOption(CommandLine::helpOption());
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("a recording to list and play"),
                                 QStringLiteral("[FILE...]"));
}

QStringList arguments(int argc, char** argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}
} // namespace

int main(int argc, char** argv)
{
    const QCommandLineOption version = CommandLine::versionOption();
    {
        // Help and version are answered before Qt starts, so they work without
        // a display. Other mistakes wait for the second reading below: Qt's
        // own options are not known until it has taken them out.
        QCommandLineParser early;
        describe(early, version);
        early.parse(arguments(argc, argv));
        if (early.isSet(CommandLine::helpOption().names().constFirst())) {
            std::fputs(qPrintable(CommandLine::helpText(early, kUsage, kEnvironment)), stdout);
            return 0;
        }
        if (early.isSet(version)) {
            std::printf("halcyon-deck %s\n", HALCYON_VERSION);
            return 0;
        }
    }
    // The map's browser engine needs its URL scheme and shared OpenGL
    // contexts before the application object exists.
    MapWebEngineSetup::Prepare();
    // Qt takes its own options (-platform, -style ...) out of argv here.
    QApplication qtApp(argc, argv);
    QCommandLineParser parser;
    describe(parser, version);
    if (const auto status = CommandLine::parse(parser, QCoreApplication::arguments(), kProgram, kUsage, kEnvironment))
        return *status;
    QStringList files;
    for (const QString& file : parser.positionalArguments())
        files << QFileInfo(file).absoluteFilePath();
    // The launcher's name, so desktops match the window to it and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.halcyondeck.HalcyonDeck"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.halcyondeck.HalcyonDeck.png")));
    UiLanguage::InstallFromEnvironment(&qtApp);
    CZuDidiriApp app;
    app.SetStartupFiles(files);
    return app.Run();
}
