// Level 11: a long arrow drawn in outline, flying to the upper right. The way
// starts at the end of the shaft's lower line, runs up to the head, round its
// barbs and point, and back down the upper line to the feathers at the tail.
// Every feather hangs on the shaft by a narrow neck; the goal waits at the tip
// of the middle feather on the upper side, close to the start but only reached
// the long way round.

#include "draw/Pictures.h"

#include <QPainterPath>
#include <cmath>

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

// A feather from its root on a shaft line sweeping back to its tip. The first
// stretch is the narrow neck, long enough that the full-width part of the
// feather clears the shaft line and the neck is the only way in.
void feather(Canvas& c, double tipU, double tipV, double rootV)
{
    constexpr double Sweep = 50; // how far behind its root a feather's tip lies
    const QPointF root = at(tipU + Sweep, rootV), tip = at(tipU, tipV);
    const QPointF step = (tip - root) / std::hypot(tip.x() - root.x(), tip.y() - root.y());
    constexpr double NeckLength = 30;
    angular(c, {root, root + NeckLength * step}, Neck, Qt::FlatCap);
    angular(c, {root + NeckLength * step, tip}, Line, Qt::SquareCap);
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
    drawStart(c, 32, 449, 17);
    drawGoal(c, 73, 359, 17);
    return c;
}

} // namespace zw::art
