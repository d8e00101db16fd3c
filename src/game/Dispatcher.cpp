// The mouse rules. The game keeps no geometry: every zone is a patch of a key
// colour, so each rule asks the window afresh for the colour under the
// pointer and reacts to it. The colour is asked before the button or state
// is looked at, so an event always makes the same number of queries, and a
// rule always sees what the earlier rules of the same event left behind.
// All rules run on every event; only the quit rule stops the list.

#include "game/Game.h"

namespace zw {

void Game::Form_MouseDown(std::int16_t button, std::int16_t shift, float X, float Y)
{
    if (ended_)
        return;
    if (button == 1)
        pageOpenedThisPress_ = false; // a new press of the left button
    mouseRules(button, X, Y);
}

void Game::Form_MouseMove(std::int16_t button, std::int16_t shift, float X, float Y)
{
    if (ended_)
        return;
    // There is no release event: a move without the left button is where
    // the game learns that the press is over.
    if ((button & 1) == 0)
        pageOpenedThisPress_ = false;
    mouseRules(button, X, Y);
}

// button is the pressed button on a press and the set of held buttons on a
// move; "the left button alone" is 1 in both.
void Game::mouseRules(std::int16_t button, float X, float Y)
{
    GameState& s = state_;
    const bool leftAlone = button == 1;

    // Black: the version line.
    Colour colour = Point(X, Y);
    if (colour == ColorInfo)
        controls_.Label1Caption = s.Texts(s.Lang, 7);

    // Continue item.
    colour = Point(X, Y);
    if (leftAlone && colour == ColorContinue) {
        s.Running = False;
        LoadGame();
    }

    // New-game item.
    colour = Point(X, Y);
    if (leftAlone && colour == ColorNewGame) {
        s.Running = False;
        NewGame();
    }

    // Quit item: the program ends here and nothing else of this event runs.
    colour = Point(X, Y);
    if (colour == ColorQuit && leftAlone) {
        endProgram();
        return;
    }

    // The link on a press or a left-held move over it. The page itself
    // opens once per press (OpenHomePage sees to that), however long the
    // player drags along the link with the button down.
    colour = Point(X, Y);
    if (leftAlone && colour == ColorLink)
        OpenHomePage();

    colour = Point(X, Y);
    if (colour == ColorLink)
        controls_.Label1Caption = s.Texts(s.Lang, 0);

    // Hovering the menu items moves the frame, except while a level change
    // sweeps it (mode 5 stays until the new picture is in). Tested once: a
    // hover rule changing FrameMode does not re-open or close the others.
    if (s.FrameMode != 5) {
        colour = Point(X, Y);
        if (colour == ColorContinue) {
            s.FrameMode = 1;
            MoveFrame();
            controls_.Label1Caption = s.Texts(s.Lang, 1);
        }
        colour = Point(X, Y);
        if (colour == ColorNewGame) {
            s.FrameMode = 2;
            MoveFrame();
            controls_.Label1Caption = s.Texts(s.Lang, 2);
        }
        colour = Point(X, Y);
        if (colour == ColorQuit) {
            s.FrameMode = 3;
            MoveFrame();
            controls_.Label1Caption = s.Texts(s.Lang, 3);
        }
        // The link frame belongs to the menu only; on the levels the link
        // text still shows the home-page line above.
        colour = Point(X, Y);
        if (colour == ColorLink && s.Level < 1.0f) {
            s.FrameMode = 4;
            MoveFrame();
        }
    }

    // Start spot: the run becomes live when this event ends (UpdateCursor).
    colour = Point(X, Y);
    if (leftAlone && colour == ColorStart)
        s.Running = True;

    // White ends the run whatever the buttons.
    colour = Point(X, Y);
    if (colour == ColorWall)
        HitWall();

    colour = Point(X, Y);
    if (colour == ColorGoal && leftAlone && s.Running == True) {
        s.Running = False;
        NextLevel();
    }

    // Back to the menu. The saved progress is left alone for a later continue.
    colour = Point(X, Y);
    if (leftAlone && colour == ColorMenu) {
        s.Deaths = 0;
        controls_.Label2Caption = s.Texts(s.Lang, 4);
        s.InGame = False;
        s.Level = -1;
        NextLevel();
    }

    UpdateCursor();
}

} // namespace zw
