// A quick player can take a goal again on the old picture while the sweep
// still brings in the next one. On the last maze that must not lead past
// the closing picture: there is no picture 22 to show, and every tick of
// the frame would fail on it.

#include "core/GameHarness.h"

#include "base/RuntimeError.h"
#include "base/Levels.h"

namespace zw::test {
namespace {

class LevelLimit : public GameTest {};

TEST_F(LevelLimit, AGoalTakenTwiceOnTheLastMazeStopsAtTheClosingPicture)
{
    standOnLevel(LastMaze);
    startRun();
    press(ColorGoal);
    ASSERT_EQ(s.Level, ClosingLevel);
    ASSERT_EQ(shown(), LastMaze) << "the sweep has not brought the closing picture yet";

    startRun();
    press(ColorGoal); // the old picture's goal, taken again
    EXPECT_EQ(s.Level, ClosingLevel);

    for (int i = 0; i < 40; ++i)
        ASSERT_NO_THROW(tick()) << "tick " << i;
    EXPECT_EQ(shown(), ClosingLevel);
    EXPECT_EQ(platform.saves, 0) << "nothing is saved past the mazes";
}

TEST_F(LevelLimit, ARejectedLoadOnTheWayToTheClosingPictureStopsThere)
{
    // The code of the closing picture, then the continue item of the menu
    // that is still shown, with stored data that is rejected.
    load();
    startRun();
    press(ColorLink);
    ASSERT_TRUE(c.Frame1Visible);
    c.Text1Text = QStringLiteral("RED HERRINGS");
    game.Command1_Click();
    ASSERT_EQ(s.Level, ClosingLevel);
    ASSERT_EQ(shown(), MenuCzech);

    platform.settings[QStringLiteral("SaveGame/Saw1")] = QStringLiteral("x");
    press(ColorContinue);
    ASSERT_EQ(platform.boxes.size(), 1);
    EXPECT_EQ(s.Level, ClosingLevel);
    for (int i = 0; i < 40; ++i)
        ASSERT_NO_THROW(tick()) << "tick " << i;
    EXPECT_EQ(shown(), ClosingLevel);
}

} // namespace
} // namespace zw::test
