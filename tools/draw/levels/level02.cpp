// Level 2: the first corner. A wide corridor runs along the top from the
// left and turns down the right side; the rounded outer corner and the sharp
// inner one make the turn easy to read.

#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel02()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 2);
    // Start (81, 129) and goal (574, 390) sit on the centre lines of the two
    // legs; each leg reaches a little past its disc and ends in a round cap.
    const double half = 38, width = 2 * half + 1;
    const double x1 = 81 - half - 6, x2 = 574 + half + 1;
    const double y1 = 129 - half, y2 = 390 + half + 7;
    QPainterPath top, side;
    top.addRoundedRect(QRectF(x1, y1, x2 - x1, width), half, half);
    side.addRoundedRect(QRectF(x2 - width, y1, width, y2 - y1), half, half);
    c.fillPath(top.united(side), Black);
    drawSpots(c, 2);
    return c;
}

} // namespace zw::art
