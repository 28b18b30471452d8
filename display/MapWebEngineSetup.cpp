#include "display/MapWebEngineSetup.h"

#include "display/MapSchemeHandler.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <unistd.h>

static void initMapResources()
{
    Q_INIT_RESOURCE(map_page);
}

void MapWebEngineSetup::Prepare()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    initMapResources();
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // A flat map needs no GPU, and with a software OpenGL (Mesa under Xvfb,
    // machines without a driver) GPU compositing leaves the view white.
    // QTWEBENGINE_CHROMIUM_FLAGS set by the user wins.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    if (!QCoreApplication::instance())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    MapSchemeHandler::RegisterScheme();
    // The engine prints its whole start-up configuration as information on
    // every start; QT_LOGGING_RULES can still turn it on.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}
