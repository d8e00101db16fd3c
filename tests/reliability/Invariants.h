#pragma once
// What must hold between any two events of the game, whatever the player did.

#include "game/Game.h"

#include <optional>
#include <string>

namespace zw::reliability {

// The first broken rule, in words, or nothing when all hold:
// - Level is a whole number from 0 to 21, Deaths a whole number from 0;
// - Lang is 0 or 1; every flag is -1 or 0; LoadFailed is back at 0;
// - FrameMode is 1 to 6 (the window has loaded);
// - Picture3(0) is the menu of the current language;
// - once the sweep of a level change has ended (FrameMode is no longer 5),
//   the window shows the picture of the current level.
std::optional<std::string> brokenInvariant(Game& game);

} // namespace zw::reliability
