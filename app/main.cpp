#include "app/CZuDidiriApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    CZuDidiriApp app;
    return app.Run();
}
