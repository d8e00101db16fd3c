// Level 13: the eye of level 12 with the first crossing strokes. The goal sits
// at the end of the long sweep under the eye, near the start, but the sweep
// only meets the rest of the picture far off to the right.

#include "draw/levels/EyeStrokes.h"
#include "draw/levels/MendEdges.h"

namespace zw::art {

Canvas drawLevel13()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 13);
    eye::drawEyeStrokes(c);
    eye::drawFirstCrossings(c);
    c.ring(153, 355, -1, 13.5, Black);
    drawSpots(c, 13);
    mendEdges(c);
    return c;
}

} // namespace zw::art
