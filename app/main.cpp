#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("Halcyon Deck"));
    w.resize(1130, 640);
    w.show();
    return app.exec();
}
