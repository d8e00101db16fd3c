// Level 8: a corridor runs around the edge of the window and feeds two long
// U-shaped corridors from the right; each U turns back at the far left and ends
// in a goal. A straight middle prong between them leads nowhere.

#include "draw/Pictures.h"

#include <QPainterPath>

namespace zw::art {

namespace {

constexpr double Corridor = 14;

// Coordinates ending in .5 are pixel centres, so the strokes sit evenly on
// the pixel grid.
constexpr double RingLeft = 27.5, RingRight = 612.5, RingTop = 70.5, RingBottom = 464.5;
constexpr double BendX = 132.5; // centre of both U bends
constexpr double GoalX = 511.5;

// A U that leaves the right side of the ring at outerY, runs left, turns
// through a half circle and comes back right to the goal at innerY.
QPainterPath uCorridor(double outerY, double innerY)
{
    const double radius = (innerY > outerY ? innerY - outerY : outerY - innerY) / 2;
    const double centreY = (outerY + innerY) / 2;
    QPainterPath p(QPointF(RingRight, outerY));
    p.lineTo(BendX, outerY);
    // Upper U turns anticlockwise (top, left, bottom), the lower one clockwise.
    p.arcTo(QRectF(BendX - radius, centreY - radius, 2 * radius, 2 * radius), outerY < innerY ? 90 : 270,
            outerY < innerY ? 180 : -180);
    p.lineTo(GoalX, innerY);
    return p;
}

} // namespace

Canvas drawLevel08()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 8);

    QPainterPath ring;
    ring.addRoundedRect(QRectF(RingLeft, RingTop, RingRight - RingLeft, RingBottom - RingTop), 30, 30);
    c.strokePath(ring, Corridor, Black);

    c.strokePath(uCorridor(125.5, 183.5), Corridor, Black);
    c.strokePath(uCorridor(421.5, 363.5), Corridor, Black);
    c.stroke({{RingRight, 273.5}, {BendX - 20, 273.5}}, Corridor, Black);

    // Wider landings so each disc sits well inside the path.
    c.disc(27, 269, 17, Black);
    c.disc(511, 183, 17, Black);
    c.disc(511, 363, 17, Black);

    drawSpots(c, 8);
    return c;
}

} // namespace zw::art
