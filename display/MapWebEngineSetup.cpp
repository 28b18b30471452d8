#include "display/MapWebEngineSetup.h"

#include "display/MapSchemeHandler.h"

#include <QCoreApplication>
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
    if (!QCoreApplication::instance())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    MapSchemeHandler::RegisterScheme();
}
