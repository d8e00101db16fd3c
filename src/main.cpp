// Zigwalk: starting the program creates the game window, loads it and shows it.

#include "ui/view/GameFrame.h"
#include "ui/view/GameSession.h"
#include "platform/XdgFolders.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    zw::platform::dropRelativeXdgFolders();
    zw::view::useWholeScaleFactors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));

    zw::view::GameSession session;
    session.window.load();
    // On a Wayland compositor that frames no windows, the game brings its own
    // title bar instead of Qt's frame, which would take the picture's edges.
    std::unique_ptr<zw::view::GameFrame> frame;
    if (zw::view::needsGameFrame()) {
        frame = std::make_unique<zw::view::GameFrame>(session.window);
        frame->show();
    } else {
        session.window.show();
    }
    return app.exec();
}
