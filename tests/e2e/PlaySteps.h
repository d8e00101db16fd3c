#pragma once
// The moves of a player, on the real window, for the tests that need a game
// in progress: a new game from the menu, a run through level 1, a death, a
// click on the deaths line, and leaving through the menu's quit item.

#include "GameOnScreen.h"

#include <QImage>
#include <QPoint>

namespace zw::e2e {

class PlayingTest : public GameScreenTest {
protected:
    // Each is true when the screen showed what the step should bring.
    bool menuShown();
    bool newGame();          // from the menu to level 1
    bool walkToGoal(int level); // start to goal on this level; shows the next one
    bool dieOn(int level);   // a run on this level that touches white; the deaths line changes
    void clickDeathsLine() const; // switches the music off or on
    bool quitFromLevel(int level, RunningGame& game); // badge, menu, quit item; ends the program cleanly

    static QImage level(int n);
};

} // namespace zw::e2e
