// Level 11: a long arrow drawn in outline, flying to the upper right. The way
// starts at the end of the shaft's lower line, runs up to the head, round its
// barbs and point, and back down the upper line to the feathers at the tail.
// Every feather hangs on the shaft by a narrow neck; the goal waits at the tip
// of the middle feather on the upper side, close to the start but only reached
// the long way round. The feathers leave the shaft at a sharp angle; the
// corner on their tail side is rounded off, so the white between feather and
// shaft ends in a round tip instead of crumbling into lone dots in the path.

#include "draw/Pictures.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

constexpr double Line = 10; // width of the outline
constexpr double Neck = 6;  // width where a feather meets the shaft
constexpr double Shaft = 26; // distance between the shaft's two lines

// The arrow's own frame: u runs from the start along the shaft towards the
// point, v across it towards the upper left. Both in pixels.
const QPointF Start(40.5, 457.5);
const QPointF Aim(606, 72);

QPointF along()
{
    const QPointF d = Aim - Start;
    return d / std::hypot(d.x(), d.y());
}

QPointF across() { return {along().y(), -along().x()}; }

QPointF at(double u, double v) { return Start + u * along() + v * across(); }

double dot(QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); }

void angular(Canvas& c, const std::vector<QPointF>& points, double width, Qt::PenCapStyle cap)
{
    c.fillPath(mitredStrokeOf(points, width, 3, cap), Black);
}

// Where two straight edges of path meet at a sharp angle, the white wedge
// between them thins out to nothing, and its last pixels break off into
// lone white dots inside the path. This rounds the corner off instead: the
// wedge at apex, opening along the unit directions e1 and e2, is filled up
// to a circle of the given radius that touches both edges.
void fillet(Canvas& c, QPointF apex, QPointF e1, QPointF e2, double radius)
{
    const double half = std::acos(std::clamp(dot(e1, e2), -1.0, 1.0)) / 2;
    const double reach = radius / std::tan(half); // apex to where the circle touches
    QPointF bisector = e1 + e2;
    bisector /= std::hypot(bisector.x(), bisector.y());
    const QPointF centre = apex + radius / std::sin(half) * bisector;
    const QPointF touch1 = apex + reach * e1, touch2 = apex + reach * e2;
    std::vector<QPointF> corner = {apex};
    constexpr int Steps = 8;
    const double a1 = std::atan2(touch1.y() - centre.y(), touch1.x() - centre.x());
    double a2 = std::atan2(touch2.y() - centre.y(), touch2.x() - centre.x());
    // The short way round the circle, the side that faces the apex.
    if (a2 - a1 > std::numbers::pi)
        a2 -= 2 * std::numbers::pi;
    if (a1 - a2 > std::numbers::pi)
        a2 += 2 * std::numbers::pi;
    for (int i = 0; i <= Steps; ++i) {
        const double a = a1 + (a2 - a1) * i / Steps;
        corner.push_back(centre + radius * QPointF(std::cos(a), std::sin(a)));
    }
    c.polygon(corner, Black);
}

// A feather from its root on a shaft line sweeping back to its tip. The first
// stretch is the narrow neck, long enough that the full-width part of the
// feather clears the shaft line and, past the rounded corner, a true narrow
// stretch remains: the neck is the only way in.
void feather(Canvas& c, double tipU, double tipV, double rootV)
{
    constexpr double Sweep = 50; // how far behind its root a feather's tip lies
    const QPointF root = at(tipU + Sweep, rootV), tip = at(tipU, tipV);
    const QPointF step = (tip - root) / std::hypot(tip.x() - root.x(), tip.y() - root.y());
    constexpr double NeckLength = 40;
    angular(c, {root, root + NeckLength * step}, Neck, Qt::FlatCap);
    angular(c, {root + NeckLength * step, tip}, Line, Qt::SquareCap);

    // The neck leaves the shaft line at a sharp angle on its back side (the
    // side towards the tail): round that corner off. In the arrow's frame the
    // line's outer edge runs along u at rootV + Line / 2 away from the shaft,
    // and the neck's back edge lies Neck / 2 to the tail side of its middle.
    const double outward = tipV > rootV ? 1 : -1;
    const double du = -Sweep, dv = tipV - rootV, length = std::hypot(du, dv);
    const double edgeV = rootV + outward * Line / 2;
    // Normal of the neck pointing to the tail (negative u).
    double nu = dv / length, nv = -du / length;
    if (nu > 0) {
        nu = -nu;
        nv = -nv;
    }
    const double backU = tipU + Sweep + nu * Neck / 2, backV = rootV + nv * Neck / 2;
    // Walk along the neck's back edge to where it crosses the line's edge.
    const double t = (edgeV - backV) / (dv / length);
    const double apexU = backU + t * du / length;
    constexpr double Rounding = 3.5;
    fillet(c, at(apexU, edgeV), -along(), step, Rounding);
}

} // namespace

Canvas drawLevel11()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 11);

    // The outline: lower line, head, upper line, in one run.
    constexpr double HeadBase = 535, Point = 668, Barb = 58;
    angular(c,
            {at(0, 0), at(HeadBase, 0), at(HeadBase - 40, -Barb), at(Point, Shaft / 2),
             at(HeadBase - 40, Shaft + Barb), at(HeadBase, Shaft), at(24, Shaft)},
            Line, Qt::RoundCap);

    // Three pairs of feathers, the lower ones mirroring the upper ones; the
    // middle upper feather ends on the goal.
    const QPointF goal(81.5, 367.5);
    const double goalU = dot(goal - Start, along()), goalV = dot(goal - Start, across());
    for (double u : {goalU - 45, goalU, goalU + 45}) {
        feather(c, u, goalV, Shaft);
        feather(c, u, Shaft - goalV, 0);
    }

    // Round ends wide enough for the discs with a margin of path.
    c.disc(40, 457, 13, Black);
    c.disc(81, 367, 13, Black);
    drawSpots(c, 11);
    return c;
}

} // namespace zw::art
