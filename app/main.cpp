#include "app/CZuDidiriApp.h"
#include "app/UiLanguage.h"
#include "display/MapWebEngineSetup.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <cstdio>
#include <cstring>

namespace {
const char kUsage[] =
    "usage: halcyon-deck [FILE...]\n"
    "       halcyon-deck --help | --version\n"
    "\n"
    "Plays car dash camera recordings: finds the camera's SD card, lists its\n"
    "recordings by category and plays front and rear pictures with sound, map,\n"
    "speed and G-sensor plot. Each FILE joins the list of all recordings and\n"
    "the first one plays.\n"
    "\n"
    "  -h, --help     this text\n"
    "  --version      the version\n"
    "\n"
    "Environment:\n"
    "  HALCYON_CARD_ROOTS  colon-separated folders to treat as camera cards\n"
    "  HALCYON_LANG        ko or en: the language of the interface\n";
} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so they work without a display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("halcyon-deck %s\n", HALCYON_VERSION);
            return 0;
        }
    }
    // The map's browser engine needs its URL scheme and shared OpenGL
    // contexts before the application object exists.
    MapWebEngineSetup::Prepare();
    // Qt takes its own options (-platform, -style ...) out of argv here.
    QApplication qtApp(argc, argv);
    QStringList files;
    bool optionsEnded = false;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            std::fprintf(stderr, "halcyon-deck: unknown option %s\n%s", qPrintable(a), kUsage);
            return 2;
        } else {
            files << QFileInfo(a).absoluteFilePath();
        }
    }
    // The launcher's name, so desktops match the window to it and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.halcyondeck.HalcyonDeck"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.halcyondeck.HalcyonDeck.png")));
    UiLanguage::InstallFromEnvironment(&qtApp);
    CZuDidiriApp app;
    app.SetStartupFiles(files);
    return app.Run();
}
