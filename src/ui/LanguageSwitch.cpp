// Clicking the status line switches between Czech and English. The menu's
// words are painted into its picture, so the menu slot of the store gets the
// other language's picture; a maze level just gets its own picture again.
// Text already in the code box keeps its language until the box reopens.

#include "game/Game.h"

namespace zw {

void Game::Label1_Click()
{
    if (ended_)
        return;
    GameState& s = state_;
    if (s.Lang == 0) {
        s.Lang = 1;
        Form2().setPicture3Menu(Form2().Picture5());
    } else if (s.Lang == 1) {
        s.Lang = 0;
        Form2().setPicture3Menu(Form2().Picture4());
    }
    controls_.Label1Caption = s.Texts(s.Lang, 7);
    controls_.Label1ToolTip = s.Texts(s.Lang, 8);
    setDeathsLine();
    controls_.Picture = Form2().Picture3(num::toInt16(s.Level));
}

} // namespace zw
