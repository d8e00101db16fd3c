#pragma once
// The running game wired together: the real platform, the rules and the
// window. The program's main() and the start-up benchmark build the same one.

#include "game/Game.h"
#include "platform/QtPlatform.h"
#include "ui/view/GameWindow.h"

namespace zw::view {

// Whole scale factors only, so every picture pixel stays a sharp square.
// Must be called before the application object exists.
void useWholeScaleFactors();

struct GameSession {
    GameSession();

    platform::QtPlatform platform;
    Game game{platform};
    GameWindow window{game};
};

} // namespace zw::view
