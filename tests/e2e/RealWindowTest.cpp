// The real program in a real X session, played with the mouse as a player
// would: the menu, a new game, a run through level 1, a death on level 2,
// back to the menu, and quitting.

#include "GameOnScreen.h"
#include "MazePath.h"

#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

class RealWindow : public GameScreenTest {};

TEST_F(RealWindow, PlayFromTheMenuThroughLevelOneAndQuit)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    RunningGame game(x, home);
    ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));

    // The window appears with its exact client size and the Czech menu.
    ASSERT_TRUE(findWindow()) << "no 640x496 window named Zig-walk";
    const QImage menu = picture(QStringLiteral("menu-cs"));
    ASSERT_TRUE(showsPicture(menu)) << "menu not on screen; differences: " << differences(client(), menu);
    const QImage firstScreen = client();
    EXPECT_EQ(firstScreen.pixel(140, 24), Yellow); // the frame around the first item

    // Hover and press the new-game item: the sweep brings level 1.
    const auto newGame = solidSpot(menu, rgbOf(ColorNewGame));
    ASSERT_TRUE(newGame);
    x.moveTo(onScreen(*newGame));
    // The frame glides to the item: its right edge comes to rest at x 288.
    EXPECT_TRUE(waitUntil([&] { return client().pixel(288, 130) == Yellow; }, StepTimeoutMs))
        << "the frame did not move to the new-game item";
    pressAt(*newGame);
    const QImage level1 = picture(QStringLiteral("level-01"));
    ASSERT_TRUE(showsPicture(level1)) << "level 1 not on screen; differences: " << differences(client(), level1);

    // Press the start spot and walk the path to the goal with the button held.
    const auto start = centreOf(level1, rgbOf(ColorStart));
    const auto goal = centreOf(level1, rgbOf(ColorGoal));
    ASSERT_TRUE(start && goal);
    const auto route = findWidestRoute(level1, *start,
                                       {rgbOf(ColorInfo), rgbOf(ColorStart), rgbOf(ColorGoal)},
                                       [&](QPoint p) { return p == *goal; });
    ASSERT_TRUE(route) << "no way from the start to the goal on level 1";
    x.moveTo(onScreen(*start));
    x.buttonDown();
    x.moveAlong(onScreen(everyNth(*route, 4)));
    x.buttonUp();
    const QImage level2 = picture(QStringLiteral("level-02"));
    ASSERT_TRUE(showsPicture(level2)) << "level 2 not on screen; differences: " << differences(client(), level2);

    // A run on level 2 that touches white: the count at the end of the
    // deaths line changes (the status line never reaches that far here).
    // First the frame must have shrunk to the centre point, so that its
    // edges no longer pass over the strip.
    ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";
    const QRect deathCount(570, 480, 70, 16);
    const QImage countBefore = client().copy(deathCount);
    const auto start2 = centreOf(level2, rgbOf(ColorStart));
    ASSERT_TRUE(start2);
    const auto toWall = findRoute(level2, *start2, {rgbOf(ColorInfo), rgbOf(ColorStart)}, 1,
                                  [&](QPoint p) { return (level2.pixel(p) & 0xFFFFFF) == (rgbOf(ColorWall) & 0xFFFFFF); });
    ASSERT_TRUE(toWall);
    pressAt(*start2);
    x.moveAlong(onScreen(everyNth(*toWall, 3)));
    EXPECT_TRUE(waitUntil([&] { return client().copy(deathCount) != countBefore; }, StepTimeoutMs))
        << "the deaths line did not change";

    // A press on the badge goes back to the menu.
    const auto badge = solidSpot(level2, rgbOf(ColorMenu));
    ASSERT_TRUE(badge);
    pressAt(*badge);
    ASSERT_TRUE(showsPicture(menu)) << "menu not back; differences: " << differences(client(), menu);

    // The quit item ends the program at once.
    const auto quit = solidSpot(menu, rgbOf(ColorQuit));
    ASSERT_TRUE(quit);
    pressAt(*quit);
    ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs)) << "the program did not end";
    EXPECT_EQ(game.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.process().exitCode(), 0);
}

} // namespace
} // namespace zw::e2e
