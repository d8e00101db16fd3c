// The yellow highlight frame. It moves in cycles of ten timer ticks towards
// the target of the current FrameMode; once started, the timer never stops,
// so a new FrameMode is picked up at the end of the running cycle. The sweep
// to the window edges also swaps in the new level's picture as the frame
// nears the left edge, which is why a level change shows its picture late.
//
// The frame's position lives in the lines themselves: the top line's first
// end (left, top) and the bottom line's second end (right, bottom) are the
// masters, everything else is copied from them on every tick.

#include "game/Game.h"
#include "base/PictureSize.h"

namespace zw {

namespace {

struct Rectangle {
    float left, top, right, bottom;
};

// Modes 3 and 4 swap two edges on purpose: the frame turns inside out on
// its way there.
bool targetOf(std::uint8_t mode, Rectangle& target)
{
    switch (mode) {
    case 1: target = {40, 24, 240, 104}; return true;    // continue item, and the menu after a level change
    case 2: target = {40, 104, 288, 160}; return true;   // new-game item
    case 3: target = {240, 160, 16, 304}; return true;   // quit item
    case 4: target = {296, 440, 584, 232}; return true;  // link on the menu
    case 5: target = {0, 0, WindowWidth, WindowHeight}; return true; // sweep out for a level change
    case 6: target = {320, 240, 320, 240}; return true;  // a point in the centre, during play
    default: return false;                               // keep the last targets
    }
}

constexpr float Ticks = 10;
constexpr float SwapEdge = 10; // only the sweep takes the left edge this far out

} // namespace

void Game::MoveFrame()
{
    // A move under way finishes first; the caller's FrameMode is taken up
    // when its cycle ends.
    if (controls_.Timer1Enabled)
        return;

    GameState& s = state_;
    s.StartX1 = controls_.Line1().X1;
    s.StartY1 = controls_.Line1().Y1;
    s.StartX2 = controls_.Line4().X2;
    s.StartY2 = controls_.Line4().Y2;

    Rectangle target{};
    if (targetOf(s.FrameMode, target)) {
        s.TargetX1 = target.left;
        s.TargetX2 = target.right;
        s.TargetY1 = target.top;
        s.TargetY2 = target.bottom;
    }

    s.StepX1 = num::div(num::sub(s.StartX1, s.TargetX1), Ticks);
    s.StepX2 = num::div(num::sub(s.StartX2, s.TargetX2), Ticks);
    s.StepY1 = num::div(num::sub(s.StartY1, s.TargetY1), Ticks);
    s.StepY2 = num::div(num::sub(s.StartY2, s.TargetY2), Ticks);
    controls_.Timer1Enabled = true;
}

void Game::Timer1_Timer()
{
    if (ended_)
        return;
    GameState& s = state_;
    LineShape& line1 = controls_.Line1();
    LineShape& line2 = controls_.Line2();
    LineShape& line3 = controls_.Line3();
    LineShape& line4 = controls_.Line4();

    s.Tick = num::add(s.Tick, 1.0f);
    if (s.Tick == Ticks) {
        // Snapping to the targets keeps rounding in the steps from adding up.
        line1.X1 = s.TargetX1;
        line1.Y1 = s.TargetY1;
        line4.X2 = s.TargetX2;
        line4.Y2 = s.TargetY2;
        controls_.Timer1Enabled = false;
        s.Tick = 0;
        MoveFrame(); // the next cycle, towards whatever FrameMode is now
    }

    if (line1.X1 < SwapEdge) {
        s.FrameMode = s.Level == 0.0f ? 1 : 6;
        controls_.Picture = Form2().Picture3(num::toInt16(s.Level));
        MoveFrame(); // the timer is on: the shrink starts at the end of this cycle
    }

    // Each line end is read back as it was just written, in this order.
    line1.X1 = num::sub(line1.X1, s.StepX1);
    line1.Y1 = num::sub(line1.Y1, s.StepY1);
    line1.Y2 = line1.Y1;
    line4.X1 = line1.X1;
    line4.X2 = num::sub(line4.X2, s.StepX2);
    line4.Y2 = num::sub(line4.Y2, s.StepY2);
    line4.Y1 = line4.Y2;
    line1.X2 = line4.X2;
    line2.X1 = line1.X1;
    line2.Y1 = line1.Y1;
    line2.X2 = line4.X1;
    line2.Y2 = line4.Y1;
    line3.X1 = line1.X2;
    line3.Y1 = line1.Y2;
    line3.X2 = line4.X2;
    line3.Y2 = line4.Y2;
}

} // namespace zw
