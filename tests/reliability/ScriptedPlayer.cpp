#include "ScriptedPlayer.h"
#include "base/Levels.h"

namespace zw::reliability {

namespace {
// Two cycles of the frame bring any new picture in; more means it is stuck.
constexpr int MostSweepTicks = 60;
} // namespace

bool ScriptedPlayer::at(Colour colour, float& x, float& y)
{
    const PictureSamples* shown = atlas_.of(game_.controls().Picture);
    if (!shown)
        return false;
    const std::vector<QPoint>& points = shown->points[std::size_t(slotOf(colour))];
    if (points.empty())
        return false;
    const QPoint p = points[choices_.below(std::uint32_t(points.size()))];
    x = float(p.x()) + 0.5f;
    y = float(p.y()) + 0.5f;
    return true;
}

bool ScriptedPlayer::pressOn(Colour colour, std::int16_t button)
{
    float x = 0, y = 0;
    if (!at(colour, x, y))
        return false;
    game_.Form_MouseDown(button, 0, x, y);
    return true;
}

bool ScriptedPlayer::moveOn(Colour colour, std::int16_t buttons)
{
    float x = 0, y = 0;
    if (!at(colour, x, y))
        return false;
    game_.Form_MouseMove(buttons, 0, x, y);
    return true;
}

void ScriptedPlayer::finishSweep()
{
    for (int i = 0; i < MostSweepTicks && game_.state().FrameMode == 5 && game_.controls().Timer1Enabled; ++i)
        game_.Timer1_Timer();
}

void ScriptedPlayer::newGame()
{
    pressOn(ColorNewGame);
    finishSweep();
}

void ScriptedPlayer::continueGame()
{
    pressOn(ColorContinue);
    finishSweep();
}

void ScriptedPlayer::die()
{
    if (pressOn(ColorStart))
        moveOn(ColorWall, std::int16_t(choices_.below(2)));
}

void ScriptedPlayer::win()
{
    if (pressOn(ColorStart) && pressOn(ColorGoal))
        finishSweep();
}

void ScriptedPlayer::backToMenu()
{
    pressOn(ColorMenu);
    finishSweep();
}

void ScriptedPlayer::playRound()
{
    const float level = game_.state().Level;
    if (level < 1) {
        if (choices_.below(5) < 3)
            continueGame();
        else
            newGame();
    } else if (level > LastMaze) {
        backToMenu();
    } else {
        const std::uint32_t roll = choices_.below(20);
        if (roll < 10)
            die();
        else if (roll < 19)
            win();
        else
            backToMenu();
    }
}

} // namespace zw::reliability
