// Level 12: an eye drawn in sweeping strokes, with a curl hanging under it.
// The way runs from the start into the inner corner, along either lid to the
// outer corner and up the wing to the goal at the top right.

#include "draw/levels/EyeStrokes.h"
#include "draw/levels/MendEdges.h"

namespace zw::art {

Canvas drawLevel12()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 12);
    eye::drawEyeStrokes(c);
    c.ring(604, 99, -1, 17.5, Black);
    drawSpots(c, 12);
    mendEdges(c);
    return c;
}

} // namespace zw::art
