#include "PlaySteps.h"

#include "MazePath.h"

#include "assets/PictureStore.h"

namespace zw::e2e {

QImage PlayingTest::level(int n)
{
    return picture(PictureStore::levelName(n)); // 21: the closing picture
}

bool PlayingTest::menuShown()
{
    return findWindow() && showsPicture(picture(QStringLiteral("menu-cs")));
}

bool PlayingTest::newGame()
{
    const auto spot = solidSpot(picture(QStringLiteral("menu-cs")), rgbOf(ColorNewGame));
    if (!spot)
        return false;
    x.moveTo(onScreen(*spot));
    pressAt(*spot);
    return showsPicture(level(1));
}

bool PlayingTest::walkToGoal(int n)
{
    return walkToGoalOf(level(n)) && showsPicture(level(n + 1));
}

bool PlayingTest::dieOn(int n)
{
    // The frame's edges cross the strip while it moves; the count is read
    // there, so it must rest first.
    if (!frameRestsInCentre())
        return false;
    const QRect deathCount(570, 480, 70, 16);
    const QImage countBefore = client().copy(deathCount);
    const QImage shown = level(n);
    const auto start = centreOf(shown, rgbOf(ColorStart));
    if (!start)
        return false;
    const auto toWall = findRoute(shown, *start, {rgbOf(ColorInfo), rgbOf(ColorStart)}, 1, [&](QPoint p) {
        return (shown.pixel(p) & 0xFFFFFF) == (rgbOf(ColorWall) & 0xFFFFFF);
    });
    if (!toWall)
        return false;
    pressAt(*start);
    x.moveAlong(onScreen(everyNth(*toWall, 3)));
    const bool counted = waitUntil([&] { return client().copy(deathCount) != countBefore; }, StepTimeoutMs);
    x.moveTo(onScreen(*start)); // off the wall again, ready for another run
    return counted;
}

void PlayingTest::clickDeathsLine() const
{
    // The line is right-aligned to x 633 in the strip below the picture.
    pressAt(QPoint(615, 487));
}

bool PlayingTest::quitFromLevel(int n, RunningGame& game)
{
    const auto badge = solidSpot(level(n), rgbOf(ColorMenu));
    const QImage menu = picture(QStringLiteral("menu-cs"));
    const auto quit = solidSpot(menu, rgbOf(ColorQuit));
    if (!badge || !quit)
        return false;
    pressAt(*badge);
    if (!showsPicture(menu))
        return false;
    pressAt(*quit);
    return game.process().waitForFinished(StepTimeoutMs) && game.process().exitStatus() == QProcess::NormalExit
        && game.process().exitCode() == 0;
}

} // namespace zw::e2e
