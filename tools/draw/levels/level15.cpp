// Level 15: a long, thin, wavy path across the window. It winds out from the
// middle in two rounds of a squarish spiral to the top left corner; the path
// waves all the way, so the hand can never simply slide along a straight
// edge. The corridor is about ten pixels wide: the deep, even waves make the
// level hard, not a path so thin that a steady hand has no slack.

#include "draw/Pictures.h"
#include "draw/levels/artCShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

double signedRoot(double v) { return std::copysign(std::sqrt(std::abs(v)), v); }

// A squarish spiral round a short horizontal core, clockwise on screen. The
// radius grows evenly with the angle, so neighbouring rounds keep the same
// distance on all four sides; the core stretches the rounds to the window's
// wide shape. The centre drifts a little (by drift over the whole way) to
// balance the last, unfinished round in the window. Angles in degrees, 0 to
// the right, 90 downwards.
std::vector<QPointF> spiral(QPointF start, double core, double innerRadius, double outerRadius,
                            double startAngle, double endAngle, QPointF drift)
{
    const auto at = [&](double degrees, double radius) {
        const double a = degrees * std::numbers::pi / 180.0;
        // Square roots of the sine and cosine push the rounds out into the corners.
        return QPointF((core + radius) * signedRoot(std::cos(a)), radius * signedRoot(std::sin(a)));
    };
    const QPointF centre = start - at(startAngle, innerRadius);
    std::vector<QPointF> points;
    const int steps = 6000;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double angle = startAngle + (endAngle - startAngle) * t;
        const double radius = innerRadius + (outerRadius - innerRadius) * t;
        points.push_back(centre + drift * t + at(angle, radius));
    }
    return points;
}

} // namespace

Canvas drawLevel15()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 15);

    const QPointF goal(34, 89);
    std::vector<QPointF> base = spiral({293, 232}, 80, 50, 205, 265, 200 + 2 * 360, {10, -30});
    base.push_back(goal);
    // The wave swells in from the start spot and calms down into the goal.
    const auto amplitude = [](double s, double total) {
        return 14.0 * std::min({1.0, s / 60.0, (total - s) / 30.0});
    };
    c.stroke(waved(base, 56, amplitude), 10, Black);

    // Round black pads give the discs a margin of path all round.
    c.ellipse(293 - 15, 232 - 15, 293 + 15, 232 + 15, Black);
    c.ellipse(34 - 15, 89 - 15, 34 + 15, 89 + 15, Black);
    drawStart(c, 285, 224, 17);
    drawGoal(c, 26, 81, 17);
    return c;
}

} // namespace zw::art
