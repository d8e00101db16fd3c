// Level 14: the eye of level 13 with a second set of crossing strokes. The
// goal hangs on a thin stroke from the pupil inside the eye; the way in comes
// from outside the lower lid to the rim of the iris and goes round the rim,
// either way, to where the goal stroke crosses it.

#include "draw/levels/EyeStrokes.h"
#include "draw/levels/MendEdges.h"

namespace zw::art {

Canvas drawLevel14()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 14);
    eye::drawEyeStrokes(c);
    eye::drawFirstCrossings(c);
    eye::drawSecondCrossings(c);
    c.ring(219, 232, -1, 13.5, Black);
    drawSpots(c, 14);
    mendEdges(c);
    return c;
}

} // namespace zw::art
