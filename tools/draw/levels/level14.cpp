// Level 14: the eye of level 13 with a second set of crossing strokes. The
// goal hangs on a thin stroke inside the eye that only the pupil reaches.

#include "draw/levels/EyeStrokes.h"

namespace zw::art {

Canvas drawLevel14()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 14);
    eye::drawEyeStrokes(c);
    eye::drawFirstCrossings(c);
    eye::drawSecondCrossings(c);
    c.disc(219, 232, 13, Black);
    drawStart(c, 33, 370, 25);
    drawGoal(c, 211, 224, 17);
    return c;
}

} // namespace zw::art
