// The highlight frame: ten-tick moves, the sweep that swaps the picture in,
// and the cycles that keep the timer running.

#include "GameHarness.h"

#include "base/RuntimeError.h"

#include <vector>

namespace zw::test {
namespace {

class FrameAnimation : public GameTest {
protected:
    // What one tick's edge check saw and whether it swapped the picture in.
    struct Check {
        float seen;
        bool swapped;
        bool operator==(const Check&) const = default;
    };

    // Runs ticks, blanking the window's picture during each so that a swap shows.
    // The check sees the left edge after a snap, so a tick that ends a cycle
    // reports the snapped value.
    std::vector<Check> ticksLogged(int count)
    {
        std::vector<Check> log;
        for (int i = 0; i < count; ++i) {
            const QImage before = c.Picture;
            c.Picture = QImage();
            const bool endsCycle = s.Tick + 1 == 10;
            const float seen = endsCycle ? s.TargetX1 : c.Line1().X1;
            tick();
            const bool swapped = !c.Picture.isNull();
            if (!swapped)
                c.Picture = before;
            log.push_back({seen, swapped});
        }
        return log;
    }

    // The lines form the rectangle of the master coordinates.
    void expectRectangle(const Frame& f)
    {
        EXPECT_EQ(frame(), f);
        const LineShape top{f.left, f.top, f.right, f.top}, left{f.left, f.top, f.left, f.bottom},
            right{f.right, f.top, f.right, f.bottom}, bottom{f.left, f.bottom, f.right, f.bottom};
        const LineShape expected[] = {top, left, right, bottom};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(c.Line[i].X1, expected[i].X1) << "Line" << i + 1;
            EXPECT_EQ(c.Line[i].Y1, expected[i].Y1) << "Line" << i + 1;
            EXPECT_EQ(c.Line[i].X2, expected[i].X2) << "Line" << i + 1;
            EXPECT_EQ(c.Line[i].Y2, expected[i].Y2) << "Line" << i + 1;
        }
    }

    // A game on level 1 with the frame resting in the centre at the end of a cycle.
    void playingLevelOne()
    {
        load();
        press(ColorNewGame);
        tick(30);
        ASSERT_EQ(shown(), 1);
        ASSERT_EQ(frame(), (Frame{320, 240, 320, 240}));
        ASSERT_EQ(s.Tick, 0.0f);
    }
};

TEST_F(FrameAnimation, FirstMoveToTheNewGameItem)
{
    load();
    move(ColorNewGame);
    EXPECT_EQ(s.StepX1, 0.0f);
    EXPECT_EQ(s.StepY1, -8.0f);
    EXPECT_FLOAT_EQ(s.StepX2, -4.8f);
    EXPECT_FLOAT_EQ(s.StepY2, -5.6f);
    EXPECT_EQ(s.StartX1, 40.0f);
    EXPECT_EQ(s.StartX2, 240.0f);
    tick();
    EXPECT_EQ(frame().left, 40.0f);
    EXPECT_EQ(frame().top, 32.0f);
    EXPECT_FLOAT_EQ(frame().right, 244.8f);
    EXPECT_FLOAT_EQ(frame().bottom, 109.6f);
    tick(9);
    expectRectangle({40, 104, 288, 160});
    EXPECT_EQ(s.Tick, 0.0f);
    EXPECT_TRUE(c.Timer1Enabled);
}

TEST_F(FrameAnimation, EveryModeEndsExactlyOnItsTarget)
{
    const struct { std::uint8_t mode; Frame target; } cases[] = {
        {1, {40, 24, 240, 104}}, {2, {40, 104, 288, 160}}, {3, {240, 160, 16, 304}},
        {4, {296, 440, 584, 232}}, {6, {320, 240, 320, 240}},
    }; // the sweep (5) never rests on the edges: it swaps the picture and turns to 1 or 6
    for (const auto& row : cases) {
        load();
        move(ColorNewGame); // some move under way, from the start rectangle
        tick(10);
        s.FrameMode = row.mode;
        tick(10); // this cycle still ends on the new-game item ...
        tick(10); // ... and the next one on the mode's target
        expectRectangle(row.target);
        EXPECT_EQ(s.TargetX1, row.target.left) << int(row.mode);
        tick(10); // the target kept: zero steps, the frame stands, the timer runs
        expectRectangle(row.target);
        EXPECT_EQ(s.StepX1, 0.0f);
        EXPECT_EQ(s.StepX2, 0.0f);
        EXPECT_EQ(s.StepY1, 0.0f);
        EXPECT_EQ(s.StepY2, 0.0f);
        EXPECT_TRUE(c.Timer1Enabled);
    }
}

TEST_F(FrameAnimation, QuitAndLinkFramesTurnInsideOutOnTheWay)
{
    load();
    move(ColorQuit); // mode 3: left and right pass each other
    tick(9);
    EXPECT_GT(frame().left, frame().right);
    tick();
    EXPECT_EQ(frame(), (Frame{240, 160, 16, 304}));

    move(ColorLink); // mode 4 from the quit frame: top and bottom pass each other
    tick(10);        // the resting cycle ends and the move starts with its first step
    tick(8);
    EXPECT_GT(frame().top, frame().bottom);
    tick(2); // the last step, then the snap
    EXPECT_EQ(frame(), (Frame{296, 440, 584, 232}));
}

TEST_F(FrameAnimation, OtherModesKeepTheLastTargets)
{
    for (int mode : {0, 7, 100, 255}) {
        load();
        move(ColorQuit);
        tick(10);
        s.FrameMode = std::uint8_t(mode);
        tick(10);
        EXPECT_EQ(s.TargetX1, 240.0f) << mode;
        EXPECT_EQ(s.TargetY1, 160.0f) << mode;
        EXPECT_EQ(s.TargetX2, 16.0f) << mode;
        EXPECT_EQ(s.TargetY2, 304.0f) << mode;
        EXPECT_EQ(s.StepX1, 0.0f) << mode;
        EXPECT_TRUE(c.Timer1Enabled) << mode;
        EXPECT_EQ(frame(), (Frame{240, 160, 16, 304})) << mode;
    }
}

TEST_F(FrameAnimation, MoveWhileTheTimerRunsChangesNothing)
{
    load();
    move(ColorNewGame);
    tick(3);
    const GameState before = s;
    const auto lines = c.Line;
    move(ColorQuit); // sets mode 3 and asks for a move: the running one goes on
    EXPECT_EQ(s.FrameMode, 3);
    const struct { const char* field; float now, was; } fields[] = {
        {"TargetX1", s.TargetX1, before.TargetX1}, {"TargetX2", s.TargetX2, before.TargetX2},
        {"TargetY1", s.TargetY1, before.TargetY1}, {"TargetY2", s.TargetY2, before.TargetY2},
        {"StartX1", s.StartX1, before.StartX1},    {"StartX2", s.StartX2, before.StartX2},
        {"StartY1", s.StartY1, before.StartY1},    {"StartY2", s.StartY2, before.StartY2},
        {"StepX1", s.StepX1, before.StepX1},       {"StepX2", s.StepX2, before.StepX2},
        {"StepY1", s.StepY1, before.StepY1},       {"StepY2", s.StepY2, before.StepY2},
        {"Tick", s.Tick, before.Tick},
    };
    for (const auto& f : fields)
        EXPECT_EQ(f.now, f.was) << f.field;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.Line[i].X1, lines[i].X1) << i;
        EXPECT_EQ(c.Line[i].Y1, lines[i].Y1) << i;
        EXPECT_EQ(c.Line[i].X2, lines[i].X2) << i;
        EXPECT_EQ(c.Line[i].Y2, lines[i].Y2) << i;
    }
    tick(7);
    // The first move ended on its target, and the new one started from there ...
    EXPECT_EQ(s.StartX1, 40.0f);
    EXPECT_EQ(s.StartY1, 104.0f);
    EXPECT_EQ(s.StartX2, 288.0f);
    EXPECT_EQ(s.StartY2, 160.0f);
    EXPECT_EQ(s.TargetX1, 240.0f);
    tick(10);
    EXPECT_EQ(frame(), (Frame{240, 160, 16, 304})); // ... to the quit item
}

TEST_F(FrameAnimation, SweepFromTheFirstItemAtTheEndOfACycle)
{
    load();
    move(ColorContinue);
    tick(10);
    press(ColorNewGame); // mode 5, taken up at the end of the running cycle
    tick(9);
    EXPECT_EQ(frame(), (Frame{40, 24, 240, 104}));
    tick(); // the cycle ends: the sweep starts and takes its first step
    EXPECT_EQ(s.StepX1, 4.0f);
    EXPECT_EQ(frame().left, 36.0f);
    const std::vector<Check> expected{{36, false}, {32, false}, {28, false}, {24, false}, {20, false},
                                      {16, false}, {12, false}, {8, true},   {4, true},   {0, true}};
    EXPECT_EQ(ticksLogged(10), expected);
    EXPECT_EQ(shown(), 1);
    EXPECT_EQ(s.FrameMode, 6);
    tick(10);
    expectRectangle({320, 240, 320, 240});
}

TEST_F(FrameAnimation, SweepAsTheVeryFirstMoveSwapsTwice)
{
    load();
    press(ColorNewGame);
    const std::vector<Check> expected{{40, false}, {36, false}, {32, false}, {28, false}, {24, false},
                                      {20, false}, {16, false}, {12, false}, {8, true}, {0, true}};
    EXPECT_EQ(ticksLogged(10), expected);
    EXPECT_EQ(shown(), 1);
}

TEST_F(FrameAnimation, LevelChangeDuringPlayRestsAtTheEdgesForOneCycle)
{
    playingLevelOne();
    startRun();
    press(ColorGoal);
    const auto log = ticksLogged(31);
    for (int i = 0; i < 31; ++i) {
        const int tickNumber = i + 1;
        EXPECT_EQ(log[i].swapped, tickNumber >= 20 && tickNumber <= 30) << "tick " << tickNumber;
    }
    // The checks during the sweep see 320, 288, ..., 32.
    for (int i = 10; i < 19; ++i)
        EXPECT_EQ(log[i].seen, 320.0f - 32.0f * float(i - 9)) << "tick " << i + 1;
    EXPECT_EQ(log[9].seen, 320.0f);
    EXPECT_EQ(shown(), 2);
    tick(9);
    expectRectangle({320, 240, 320, 240});
}

TEST_F(FrameAnimation, FrameStandsAtTheEdgesDuringTheRestingCycle)
{
    playingLevelOne();
    startRun();
    press(ColorGoal);
    tick(20);
    for (int i = 0; i < 9; ++i) {
        expectRectangle({0, 0, 640, 496});
        tick();
    }
}

TEST_F(FrameAnimation, ReturnToTheMenuShrinksBackAroundTheFirstItem)
{
    playingLevelOne();
    press(ColorMenu);
    const auto log = ticksLogged(33);
    EXPECT_EQ(s.StepX1, -4.0f);
    // The shrink starts on tick 30; the swap goes on while the check sees 0, 4 and 8.
    EXPECT_EQ(log[29], (Check{0, true}));
    EXPECT_EQ(log[30], (Check{4, true}));
    EXPECT_EQ(log[31], (Check{8, true}));
    EXPECT_EQ(log[32], (Check{12, false}));
    tick(7);
    EXPECT_EQ(shown(), MenuCzech);
    EXPECT_EQ(s.FrameMode, 1);
    expectRectangle({40, 24, 240, 104});
}

TEST_F(FrameAnimation, SwapToALevelOutsideTheStoreIsAnError)
{
    const struct { float level; int error; } cases[] = {
        {22, RuntimeError::NoSuchControlElement}, {-1, RuntimeError::NoSuchControlElement},
        {40000, RuntimeError::Overflow},
    };
    for (const auto& row : cases) {
        load();
        s.Level = row.level;
        c.Line1().X1 = 5;
        try {
            tick();
            ADD_FAILURE() << row.level;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), row.error) << row.level;
        }
    }
}

} // namespace
} // namespace zw::test
