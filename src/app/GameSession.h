#pragma once
// The running game wired together: the real platform, the rules and the
// window. The program's main() and the start-up benchmark build the same one.

#include "game/Game.h"
#include "platform/QtPlatform.h"
#include "view/GameWindow.h"

#include <QObject>

namespace zw::view {

// Whole scale factors only, so every picture pixel stays a sharp square.
// Must be called before the application object exists.
void useWholeScaleFactors();

// Tells the platform once the window's first frame has been painted, so the
// sound sets itself up right after the start, never during it.
class FirstFrameWatch : public QObject {
public:
    FirstFrameWatch(QWidget& window, platform::QtPlatform& platform);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::QtPlatform& platform_;
    bool seen_ = false;
};

struct GameSession {
    // The built-in game, or the store and levels of a player's folder.
    explicit GameSession(Game::StoreFactory makeStore = {}, LevelSet levels = {});

    platform::QtPlatform platform;
    Game game{platform};
    GameWindow window{game};
    FirstFrameWatch firstFrame{window, platform};
};

} // namespace zw::view
