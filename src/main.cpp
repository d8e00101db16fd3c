// Zigwalk: starting the program creates the game window, loads it and shows it.

#include "ui/view/GameSession.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    zw::view::useWholeScaleFactors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));

    zw::view::GameSession session;
    session.window.load();
    session.window.show();
    return app.exec();
}
