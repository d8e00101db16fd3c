// Runs, deaths, level changes, a new game and the way back to the menu.

#include "GameHarness.h"

namespace zw::test {
namespace {

class LevelFlow : public GameTest {};

TEST_F(LevelFlow, DeathOnLevelThreeWithFourDeaths)
{
    standOnLevel(3, 4);
    startRun();
    ASSERT_EQ(s.Live, True);
    move(ColorWall);
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(platform.saves, 1);
    EXPECT_EQ(saved("Saw1"), QStringLiteral("3")); // saved before the death is counted
    EXPECT_EQ(saved("Saw2"), QStringLiteral("4"));
    EXPECT_EQ(saved("Saw3"), QStringLiteral("7"));
    EXPECT_EQ(saved("Saw4"), QStringLiteral("1"));
    EXPECT_EQ(platform.log, (QStringList{QStringLiteral("beep"), QStringLiteral("save")}));
    EXPECT_EQ(s.Deaths, 5.0f);
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Hudba     Počet zabití : 5"));
    EXPECT_EQ(s.Running, False);
    EXPECT_EQ(s.Live, False);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture2);

    move(ColorWall); // the run is over: no second death
    EXPECT_EQ(s.Deaths, 5.0f);
    EXPECT_EQ(platform.beeps, 1);
}

// The first and the last maze count their deaths like every other.
TEST_F(LevelFlow, DeathOnTheFirstAndTheLastMazeIsCountedBeepedAndSaved)
{
    for (int level : {1, 20}) {
        standOnLevel(level, 6);
        platform.settings.clear();
        const int beeps = platform.beeps, saves = platform.saves;
        startRun();
        move(ColorWall);
        EXPECT_EQ(platform.beeps, beeps + 1) << level;
        EXPECT_EQ(platform.saves, saves + 1) << level;
        EXPECT_EQ(saved("Saw1"), QString::number(level)) << level;
        EXPECT_EQ(saved("Saw2"), QStringLiteral("6")) << level;
        EXPECT_EQ(s.Deaths, 7.0f) << level;
        EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("7"))) << level;
    }
}

TEST_F(LevelFlow, WhiteOnTheMenuOrTheClosingPictureCountsNothing)
{
    for (int level : {0, 21}) {
        standOnLevel(level, 2);
        startRun();
        const int beeps = platform.beeps, saves = platform.saves;
        c.Label2Caption.clear();
        move(ColorWall);
        EXPECT_EQ(platform.beeps, beeps) << level;
        EXPECT_EQ(platform.saves, saves) << level;
        EXPECT_EQ(s.Deaths, 2.0f) << level;
        EXPECT_EQ(s.Running, False) << level;
        EXPECT_EQ(s.Live, True) << level; // lapsed: walls count nothing here
        EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("2"))) << level;
    }
}

TEST_F(LevelFlow, WhiteRightAfterALevelChangeCountsNothing)
{
    standOnLevel(2);
    startRun();
    press(ColorGoal);
    ASSERT_EQ(s.Level, 3.0f);
    EXPECT_EQ(shown(), 2); // the old picture stays until the sweep swaps it
    move(ColorWall);
    EXPECT_EQ(s.Deaths, 0.0f);
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(LevelFlow, RunTurnsLiveOnlyWhenThePressingEventEnds)
{
    standOnLevel(4);
    EXPECT_EQ(s.Live, False);
    press(ColorStart, 2); // the right button starts nothing
    EXPECT_EQ(s.Running, False);
    EXPECT_EQ(s.Live, False);
    move(ColorStart, 1); // moving onto the spot with the left button held starts a run too
    EXPECT_EQ(s.Running, True);
    EXPECT_EQ(s.Live, True);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture1);
}

TEST_F(LevelFlow, GoalMovesOnAndSavesTheNewLevel)
{
    standOnLevel(4, 9);
    c.Frame1Visible = true;
    startRun();
    press(ColorGoal);
    EXPECT_EQ(s.Level, 5.0f);
    EXPECT_EQ(s.Running, False);
    EXPECT_EQ(s.Live, False);
    EXPECT_EQ(s.FrameMode, 5);
    EXPECT_FALSE(c.Frame1Visible);
    EXPECT_EQ(saved("Saw1"), QStringLiteral("5"));
    EXPECT_EQ(saved("Saw2"), QStringLiteral("9"));
    EXPECT_EQ(saved("Saw3"), QStringLiteral("14"));
    EXPECT_EQ(saved("Saw4"), QStringLiteral("4"));
    tick(30);
    EXPECT_EQ(shown(), 5);
}

TEST_F(LevelFlow, GoalOfLevelTwentyLeadsToTheClosingPictureUnsaved)
{
    standOnLevel(20, 3);
    startRun();
    press(ColorGoal);
    EXPECT_EQ(s.Level, 21.0f);
    EXPECT_EQ(platform.saves, 0);
    tick(30);
    EXPECT_EQ(shown(), 21);
    startRun();
    move(ColorWall);
    EXPECT_EQ(s.Deaths, 3.0f);
}

TEST_F(LevelFlow, NewGameFromAnyState)
{
    const struct { const char* state; int level; float deaths; bool liveRun; bool codeBox; std::uint8_t lang; } cases[] = {
        {"fresh menu", 0, 0, false, false, 0},
        {"live run on level 7", 7, 9, true, true, 0},
        {"closing picture", 21, 30, false, false, 1},
        {"menu after a run", 0, 5, true, true, 1},
    };
    for (const auto& row : cases) {
        platform.settings.clear();
        standOnLevel(row.level, row.deaths);
        s.Lang = row.lang;
        if (row.liveRun)
            startRun();
        c.Frame1Visible = row.codeBox;
        press(ColorNewGame);
        EXPECT_EQ(s.Level, 1.0f) << row.state;
        EXPECT_EQ(s.Deaths, 0.0f) << row.state;
        EXPECT_EQ(s.InGame, True) << row.state;
        EXPECT_EQ(s.Running, False) << row.state;
        EXPECT_FALSE(c.Frame1Visible) << row.state;
        EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("0"))) << row.state;
        EXPECT_EQ(saved("Saw1"), QStringLiteral("1")) << row.state;
        EXPECT_EQ(saved("Saw2"), QStringLiteral("0")) << row.state;
        EXPECT_EQ(saved("Saw3"), QStringLiteral("1")) << row.state;
        EXPECT_EQ(saved("Saw4"), QStringLiteral("0")) << row.state;
    }
}

TEST_F(LevelFlow, BackToTheMenuDuringALiveRun)
{
    platform.settings[QStringLiteral("SaveGame/Saw1")] = QStringLiteral("5");
    standOnLevel(5, 3);
    s.InGame = True;
    startRun();
    press(ColorMenu);
    EXPECT_EQ(s.Level, 0.0f);
    EXPECT_EQ(s.Deaths, 0.0f);
    EXPECT_EQ(s.InGame, False);
    EXPECT_EQ(c.Label2Caption, s.Texts(0, 4));
    EXPECT_EQ(s.Running, True); // the run goes on, on the menu
    EXPECT_EQ(s.Live, True);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture1);
    EXPECT_EQ(platform.saves, 0); // the saved progress waits for a continue
    tick(30);
    EXPECT_EQ(shown(), MenuCzech);
    move(ColorWall);
    EXPECT_EQ(s.Deaths, 0.0f);
    EXPECT_EQ(platform.beeps, 0);
}

} // namespace
} // namespace zw::test
