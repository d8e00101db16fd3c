// The home-page link and the level-code box behind it. The box is a hidden
// shortcut: it opens only on the menu, outside a game, right after a press
// on the menu's start spot, and that press is used up by opening it.

#include "game/Game.h"
#include "base/Maker.h"
#include "base/RuntimeError.h"

namespace zw {

const std::array<QString, ClosingLevel>& Game::levelCodes()
{
    static const std::array<QString, ClosingLevel> codes{
        QStringLiteral("FJORD"),    QStringLiteral("QUILT"),    QStringLiteral("LANTERNS"),
        QStringLiteral("CRANE"),    QStringLiteral("B(A)R(E)N"), QStringLiteral("WALNUT"),
        QStringLiteral("TUNDRA"),   QStringLiteral("OWL"),      QStringLiteral("MOSS"),
        QStringLiteral("GRAIN"),    QStringLiteral("BLIZZARD"), QStringLiteral("PLUMB"),
        QStringLiteral("?5???"),    QStringLiteral("?8???"),    QStringLiteral("SKYLIGHT"),
        QStringLiteral("FERN"),     QStringLiteral("OTTER"),    QStringLiteral("EMBER"),
        QStringLiteral("GRANITE"),  QStringLiteral("MARLIN"),   QStringLiteral("RED HERRINGS"),
    };
    return codes;
}

void Game::OpenHomePage()
{
    GameState& s = state_;
    if (s.Level < 1.0f && s.InGame == False && s.Running == True) {
        controls_.Text1Text = s.Texts(s.Lang, 5);
        controls_.Frame1Visible = true;
        s.Running = False;
    }
    // The page opens once per press of the left button: a drag along the
    // link with the button held would otherwise start a browser for every
    // mouse event. Whether the browser came up is not the game's concern.
    if (pageOpenedThisPress_)
        return;
    pageOpenedThisPress_ = true;
    try {
        platform_.shellOpen(maker::HomePage);
    } catch (const RuntimeError&) {
    }
}

// Enter in the code box. A wrong code is not reported: the level change runs
// to the level the game is on, which on the menu replays the sweep.
void Game::Command1_Click()
{
    if (ended_)
        return;
    GameState& s = state_;
    controls_.Frame1Visible = false;
    const auto& codes = levelCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        // Compared exactly: no trimming, so a trailing blank is a wrong code.
        // The player's locale upper-cases first; where its rules differ from
        // the plain ones (in Turkish, i becomes a dotted capital İ) the plain
        // upper case lets the code in as well.
        const QString& typed = controls_.Text1Text;
        // A maze the played set does not have is refused like a wrong code.
        const int level = static_cast<int>(i) + 1;
        if (!levels_.has(level))
            continue;
        if (platform_.toUpper(typed) == codes[i] || typed.toUpper() == codes[i])
            s.Level = static_cast<float>(level);
    }
    s.Level = num::sub(s.Level, 1.0f);
    NextLevel();
}

} // namespace zw
