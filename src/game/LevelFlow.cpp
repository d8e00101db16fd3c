// The rules of play: runs, deaths, level changes, a new game, the cursor.
// A run is "started" when the start spot is pressed and becomes live only at
// the end of that event, so a wall touched in the pressing event costs
// nothing; every way onto a level clears the live flag.

#include "game/Game.h"

#include "base/Levels.h"

namespace zw {

// Every level change comes through here; callers set Level one below the
// level they want. The new picture is not shown yet: the sweeping frame
// swaps it in once it nears the left window edge.
void Game::NextLevel()
{
    GameState& s = state_;
    controls_.Frame1Visible = false;
    s.Live = False;
    s.FrameMode = 5;
    MoveFrame();
    // Until the sweep brings the new picture in, the old one still takes
    // presses: a quick player can win the last maze twice, or continue from
    // the menu on the way to the closing picture. There is nothing past the
    // closing picture, and the frame would fail on every tick looking for it.
    // A player's folder may hold fewer mazes: its last one leads to the closing picture.
    s.Level = levels_.landsOn(num::add(s.Level, 1.0f));
    SaveProgress();
}

void Game::HitWall()
{
    GameState& s = state_;
    s.Running = False;
    // Only a live run on a maze level costs a life; the menu and the closing
    // picture have white too.
    if (s.Level > 0.0f && s.Live == True && s.Level < float(ClosingLevel)) {
        platform_.beep();
        SaveProgress(); // what is saved is the state before this death
        s.Live = False;
        s.Deaths = num::add(s.Deaths, 1.0f);
    }
    setDeathsLine();
}

void Game::NewGame()
{
    GameState& s = state_;
    s.Level = 0;
    s.Deaths = 0;
    setDeathsLine();
    s.InGame = True;
    NextLevel();
}

void Game::UpdateCursor()
{
    GameState& s = state_;
    Form2();
    if (s.Running == True) {
        controls_.Cursor = PointerPicture::Picture1;
        s.Live = True; // the only place a run turns live
    } else {
        controls_.Cursor = PointerPicture::Picture2;
    }
}

void Game::setDeathsLine()
{
    controls_.Label2Caption = state_.Texts(state_.Lang, 6) + num::toText(state_.Deaths);
}

} // namespace zw
