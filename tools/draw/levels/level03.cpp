// Level 3: a band that runs along the top to the right side, turns down and
// comes back along the bottom. Start and goal sit at the two open ends on the
// left, so the run turns twice around a white tongue.

#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel03()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 3);
    // The arms are centred on start (41, 173) and goal (64, 361); both arms end
    // in the same half-round cap so the left side reads as one tidy edge.
    const int half = 35;
    const double top = 173 - half, bottom = 361 + half + 1;
    const double left = 41 - half, right = 612;
    // Two arms with round left caps, joined by a column with round outer corners.
    const double armWidth = 2 * half + 1;
    QPainterPath upperArm, lowerArm, column;
    upperArm.addRoundedRect(QRectF(left, top, right - left + 1, armWidth), half, half);
    lowerArm.addRoundedRect(QRectF(left, bottom - armWidth, right - left + 1, armWidth), half, half);
    column.addRoundedRect(QRectF(right - 2 * half, top, armWidth, bottom - top), half, half);
    // A soft fillet in the two inner corners of the turn.
    const double fillet = 18, innerX = right - 2 * half, innerTop = top + armWidth, innerBottom = bottom - armWidth;
    QPainterPath corners;
    corners.addRect(QRectF(innerX - fillet, innerTop, fillet, innerBottom - innerTop));
    QPainterPath cut;
    cut.addRoundedRect(QRectF(innerX - 4 * fillet, innerTop, 4 * fillet, innerBottom - innerTop), fillet, fillet);
    c.fillPath(upperArm.united(lowerArm).united(column).united(corners.subtracted(cut)), Black);
    drawSpots(c, 3);
    return c;
}

} // namespace zw::art
