// Level 10: sharp zig-zag strokes. A saw-tooth line runs from the start along
// the top to a tall spike; the spike carries the way down, a row of arrowheads
// points it back to the left along the bottom, and teeth through the middle
// lead to the goal. The way splits around every arrowhead, and the teeth that
// reach for the goal straight from the spike end short of it.

#include "draw/Pictures.h"

#include <QPainterPath>
#include <cmath>

namespace zw::art {

namespace {

constexpr double Line = 13;

// An open run of straight strokes with pointed (mitred) corners.
void zigzag(Canvas& c, const std::vector<QPointF>& points)
{
    c.fillPath(mitredStrokeOf(points, Line, 4, Qt::SquareCap), Black);
}

// A triangle drawn as a band of Line width inside the corners a, b, c. The
// hole is the triangle shrunk towards the incentre, so every side keeps the
// same width and the corners stay sharp; a slim triangle closes into a solid
// point near its tip.
void hollowTriangle(Canvas& canvas, QPointF a, QPointF b, QPointF c)
{
    const double la = std::hypot(b.x() - c.x(), b.y() - c.y());
    const double lb = std::hypot(a.x() - c.x(), a.y() - c.y());
    const double lc = std::hypot(a.x() - b.x(), a.y() - b.y());
    const double perimeter = la + lb + lc;
    const QPointF centre = (la * a + lb * b + lc * c) / perimeter;
    const double area = std::abs((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y())) / 2;
    const double inradius = 2 * area / perimeter;
    const double shrink = (inradius - Line) / inradius;
    canvas.polygon({a, b, c}, Black);
    canvas.polygon({centre + (a - centre) * shrink, centre + (b - centre) * shrink, centre + (c - centre) * shrink},
                   White);
}

} // namespace

Canvas drawLevel10()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 10);

    // Arrowheads along the bottom, pointing left: the right side of each is
    // upright, its point on the middle line.
    constexpr int Arrows = 4;
    constexpr double FirstRight = 516, ArrowWidth = 85, ArrowGap = 25, MidLine = 420.5;
    auto arrowRight = [&](int i) { return FirstRight - i * (ArrowWidth + ArrowGap); };
    auto arrowPoint = [&](int i) { return arrowRight(i) - ArrowWidth; };

    // Closed triangles first: their white holes must not cut the strokes
    // that join them.
    hollowTriangle(c, {576, 62}, {612, 458}, {540, 458}); // the tall spike
    for (int i = 0; i < Arrows; ++i)
        hollowTriangle(c, {arrowRight(i), 378}, {arrowPoint(i), 420}, {arrowRight(i), 462});

    // Saw teeth from the start to the spike, meeting it below its needle
    // point where it is wide enough to walk.
    zigzag(c, {{40.5, 220.5}, {85, 75}, {130, 180}, {175, 75}, {220, 180}, {265, 75}, {310, 180},
               {355, 75}, {400, 180}, {445, 75}, {490, 180}, {566, 140}});
    // A second row of teeth leaves the spike towards the goal but stops short
    // of it: the way round is longer.
    zigzag(c, {{556, 300}, {510, 250}, {465, 345}, {420, 250}, {375, 345}, {322, 292}});

    // Links from the spike into the first arrowhead and from each point into
    // the next arrowhead. Each link starts inside the solid tip of its
    // arrowhead, where the tip is still a full line wide.
    zigzag(c, {{538, MidLine}, {FirstRight, MidLine}});
    for (int i = 0; i + 1 < Arrows; ++i)
        zigzag(c, {{arrowPoint(i) + 2 * Line, MidLine}, {arrowRight(i + 1), MidLine}});
    // From the last point up and through the middle to the goal.
    const double last = arrowPoint(Arrows - 1);
    zigzag(c, {{last + 2 * Line, MidLine}, {last, MidLine}, {60, 330}, {105, 250}, {150, 345}, {195, 250},
               {240, 345}, {277.5, 305}});

    // Landings round the discs.
    c.disc(40, 220, 17, Black);
    c.disc(277, 304, 17, Black);
    c.disc(277, 305, 17, Black);

    drawSpots(c, 10);
    return c;
}

} // namespace zw::art
