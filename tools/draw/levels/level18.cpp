// Level 18: three overlapping circles. Where two circles cross, one of them
// either runs through (a plain crossing, where the path may turn onto the
// other circle) or passes over the other, which then breaks off on both sides
// with a white gap, like rings woven into each other. One circle also has a
// plain gap. The player has to read the weave to find the way from the start
// on the left circle to the goal on the right one.

#include "draw/Pictures.h"
#include "draw/levels/artCShapes.h"

#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

struct Circle {
    double x, y, r;
};

// Each circle is a ribbon: two black lanes with a white stripe between them.
constexpr double Width = 7;     // each lane
constexpr double Lane = 7;      // distance of each lane's middle from the circle
constexpr double Clearance = 5; // white each side of an upper ribbon over a lower one

void drawRibbon(Canvas& c, const Circle& k, double a0, double a1)
{
    for (double r : {k.r - Lane, k.r + Lane})
        c.stroke(arcPoints(k.x, k.y, r, a0, a1), Width, Black);
}

// The degree on the circle that points at p.
double angleOf(const Circle& c, QPointF p)
{
    return std::atan2(p.y() - c.y, p.x() - c.x) * 180.0 / std::numbers::pi;
}

// The two crossing points of circles a and b, the upper one (smaller y) first.
std::pair<QPointF, QPointF> crossings(const Circle& a, const Circle& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy);
    const double along = (d * d + a.r * a.r - b.r * b.r) / (2 * d);
    const double side = std::sqrt(a.r * a.r - along * along);
    const QPointF mid(a.x + dx * along / d, a.y + dy * along / d);
    const QPointF across(-dy / d * side, dx / d * side);
    const QPointF p = mid + across, q = mid - across;
    return p.y() < q.y() ? std::pair{p, q} : std::pair{q, p};
}

// Circle upper passes over circle lower at p: the lower one is cut back on
// both sides of the upper one's band.
void weave(Canvas& c, const Circle& upper, QPointF p)
{
    const double a = angleOf(upper, p);
    const double reach = 30.0 / upper.r * 180.0 / std::numbers::pi; // 30 px along the upper circle
    c.stroke(arcPoints(upper.x, upper.y, upper.r, a - reach, a + reach), 2 * Lane + Width + 2 * Clearance,
             White);
    drawRibbon(c, upper, a - 2 * reach, a + 2 * reach);
}

// A gap in one lane (side -1 inner, +1 outer) of a circle, about length px
// long, centred on the degree a.
void gap(Canvas& c, const Circle& circle, int side, double a, double length)
{
    const double r = circle.r + side * Lane;
    const double half = length / 2.0 / r * 180.0 / std::numbers::pi;
    c.stroke(arcPoints(circle.x, circle.y, r, a - half, a + half), Width + 2, White);
}

} // namespace

Canvas drawLevel18()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 18);

    // Left and right circles side by side, the third below between them.
    // The start lies on the left circle, the goal on the right one.
    const Circle left{250, 200, 128.5}, right{420, 200, 128.5}, bottom{335, 330, 128.5};
    for (const Circle& k : {left, right, bottom})
        drawRibbon(c, k, 0, 360);

    // Four of the six crossings are woven. The other two, where the bottom
    // circle meets the left one at the outside and the right one inside the
    // left circle, stay plain: the only places to change circles.
    const auto [leftRightTop, leftRightBottom] = crossings(left, right);
    weave(c, right, leftRightTop);
    weave(c, left, leftRightBottom);
    weave(c, bottom, crossings(left, bottom).first);
    weave(c, bottom, crossings(right, bottom).second);
    // The short way over the top of the bottom circle is closed.
    gap(c, bottom, -1, 217, 14);
    gap(c, bottom, +1, 217, 14);
    // Single-lane gaps: the lane to take is chosen at the plain crossings,
    // and only a look ahead tells which one runs through.
    gap(c, left, +1, 150, 14);
    gap(c, bottom, -1, 90, 14);
    gap(c, right, -1, 290, 14);

    c.ellipse(126 - 15, 169 - 15, 126 + 15, 169 + 15, Black);
    c.ellipse(545 - 15, 168 - 15, 545 + 15, 168 + 15, Black);
    drawStart(c, 114, 157, 25);
    drawGoal(c, 533, 156, 25);
    return c;
}

} // namespace zw::art
