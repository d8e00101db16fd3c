// Level 19: a serpentine corridor. Ten horizontal bars, joined alternately at
// their right and left ends by round bends, lead from the start at the top
// left down to the goal at the bottom left. The bars grow thinner on the way
// down, so the run gets harder as it goes, and the long straight stretches
// punish a drifting hand. A bend is as thick as the bar that leads into it:
// the way never narrows where the hand has to turn.

#include "draw/Pictures.h"
#include "draw/levels/artCShapes.h"

namespace zw::art {

Canvas drawLevel19()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 19);

    constexpr int Bars = 10;
    constexpr double Left = 46, Right = 592, Top = 120, Bottom = 400;
    constexpr double Step = (Bottom - Top) / (Bars - 1);

    constexpr double TopThickness = 14.0, BottomThickness = 9.0; // px, first bar and last
    for (int i = 0; i < Bars; ++i) {
        const double y = Top + i * Step;
        const double thickness = TopThickness - (TopThickness - BottomThickness) * i / (Bars - 1);
        c.stroke({{Left, y}, {Right, y}}, thickness, Black);
        if (i + 1 == Bars)
            break;
        // Bar i turns into bar i + 1 at the right end when i is even, else at the left.
        const bool atRight = i % 2 == 0;
        c.stroke(arcPoints(atRight ? Right : Left, y + Step / 2, Step / 2, atRight ? -90 : 270, 90), thickness, Black);
    }

    c.ellipse(46 - 15, 120 - 15, 46 + 15, 120 + 15, Black);
    c.ellipse(45 - 15, 400 - 15, 45 + 15, 400 + 15, Black);
    drawSpots(c, 19);
    return c;
}

} // namespace zw::art
