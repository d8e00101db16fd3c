// Level 4: a zig-zag band like a lightning bolt from the upper left to the
// lower right. Three bars are joined by slanted pieces that lean back to the
// left, so each turn is a sharp reversal; every end is cut along the same
// slant, which gives the band its pointed corners.

#include "draw/Pictures.h"

#include <vector>

namespace zw::art {

Canvas drawLevel04()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 4);
    // Bars centred on the start's row (115), 267 and the goal's row (419).
    constexpr int Bars = 3;
    const double thick = 52;
    const double top[Bars] = {115 - thick / 2, 267 - thick / 2, 419 - thick / 2};
    const double pitch = top[1] - top[0];
    // Every slanted edge moves this far left per pixel down (about 40
    // degrees): the gap between two bars is higher than a slanted piece is
    // wide, so there is no straight drop from one bar to the next and the
    // run has to double back.
    const double lean = 1.2;
    const double across = 81; // a slanted piece measured along a bar: as thick as a bar
    const double right[Bars] = {520, 600, 625};
    double left[Bars] = {70};
    for (int i = 1; i < Bars; ++i)
        left[i] = right[i - 1] - across - lean * (pitch + thick);

    // Clockwise: along the tops from the cut start end, then back along the
    // bottoms from the cut goal end.
    std::vector<QPointF> outline{{left[0] + lean * thick, top[0]}};
    for (int i = 0; i < Bars; ++i) {
        if (i > 0)
            outline.push_back({right[i - 1] - lean * pitch, top[i]});
        outline.push_back({right[i], top[i]});
    }
    outline.push_back({right[Bars - 1] - lean * thick, top[Bars - 1] + thick});
    for (int i = Bars - 1; i >= 0; --i) {
        outline.push_back({left[i], top[i] + thick});
        if (i > 0)
            outline.push_back({left[i] + lean * pitch, top[i - 1] + thick});
    }
    c.polygon(outline, Black);
    drawSpots(c, 4);
    return c;
}

} // namespace zw::art
