// Zigwalk: starting the program creates the game window, loads it and shows it.

#include "game/Game.h"
#include "platform/QtPlatform.h"
#include "ui/view/GameWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Whole scale factors only, so every picture pixel stays a sharp square.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));

    zw::platform::QtPlatform platform;
    zw::Game game(platform);
    zw::view::GameWindow window(game);
    platform.setBeforeMessageBox([&window] { window.pauseTimer(); });

    window.load();
    window.show();
    return app.exec();
}
