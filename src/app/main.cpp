// Zigwalk: starting the program creates the game window, loads it and shows it.
// The command line may name a player's folder of levels, or a pack of them
// (NAME.zigwalk), instead of the built-in ones; either is checked before
// anything is shown.

#include "app/LevelFolder.h"
#include "app/LevelPack.h"
#include "check/PlayerPack.h"
#include "app/CommandLine.h"
#include "platform/GameMessageBox.h"
#include "view/GameFrame.h"
#include "app/GameSession.h"
#include "platform/XdgFolders.h"

#include <QApplication>
#include <QFileDialog>

#include <cstdio>
#include <memory>

namespace {

// The game starts in Czech, so a refusal before the start speaks Czech too.
constexpr std::uint8_t StartLanguage = 0;

constexpr int UsageExit = 2; // a usage error or a folder that cannot be played

} // namespace

int main(int argc, char* argv[])
{
    zw::platform::dropRelativeXdgFolders();
    // Read before the window system is asked for anything, so that --help,
    // --version and a usage error answer on a terminal without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const zw::CommandLine line = zw::readCommandLine(arguments);
    switch (line.action) {
    case zw::CommandLine::Action::Help:
    case zw::CommandLine::Action::Version:
        std::fputs(line.message.toLocal8Bit().constData(), stdout);
        return 0;
    case zw::CommandLine::Action::UsageError:
        std::fprintf(stderr, "%s\n", line.message.toLocal8Bit().constData());
        return UsageExit;
    case zw::CommandLine::Action::Play:
    case zw::CommandLine::Action::ChooseFolder:
        break;
    }

    zw::view::useWholeScaleFactors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));

    QString folder = line.folder;
    if (line.action == zw::CommandLine::Action::ChooseFolder) {
        folder = QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Zigwalk"));
        if (folder.isEmpty())
            return 0; // cancelled: nothing to play
    }

    std::unique_ptr<zw::view::GameSession> session;
    QString title; // a pack's name; the game's own title otherwise
    if (folder.isEmpty()) {
        session = std::make_unique<zw::view::GameSession>();
    } else {
        const bool pack = zw::check::namesPack(folder);
        zw::LevelFolder opened = pack ? zw::openLevelPack(folder, StartLanguage) : zw::openLevelFolder(folder, StartLanguage);
        if (!opened.findings.isEmpty()) {
            const QString text = zw::refusalText(folder, opened.findings, StartLanguage, pack);
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
            std::fflush(stderr);
            zw::platform::showGameMessageBox(text, QMessageBox::Critical);
            return UsageExit;
        }
        auto mazes = opened.mazes;
        title = opened.title;
        session = std::make_unique<zw::view::GameSession>([mazes] { return zw::makeFolderStore(mazes); },
                                                          opened.levels);
    }

    if (!title.isEmpty())
        session->window.setWindowTitle(title);
    session->window.load();
    // On a Wayland compositor that frames no windows, the game brings its own
    // title bar instead of Qt's frame, which would take the picture's edges.
    std::unique_ptr<zw::view::GameFrame> frame;
    if (zw::view::needsGameFrame()) {
        frame = std::make_unique<zw::view::GameFrame>(session->window);
        frame->show();
    } else {
        session->window.show();
    }
    return app.exec();
}
