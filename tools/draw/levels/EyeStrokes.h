#pragma once
// The eye that levels 12, 13 and 14 share. Level 12 is the eye alone: two
// sweeping lids, a floating iris, a tail from the start into the inner corner,
// a wing from the outer corner up to the top right, and a curl hanging under
// the eye. Level 13 lays a first set of crossing strokes over it and level 14
// a second set over those, so each level is the one before with more ways,
// more junctions and more dead ends. The eye is drawn thin, so even level 12
// asks for a steady hand; the long sweep of level 13 is bolder, a stretch to
// breathe on a way that is twice as long, and the strokes of level 14 are as
// thin as the eye.

#include "draw/Pictures.h"

#include <QPainterPath>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace zw::art::eye {

constexpr double Stroke = 7;          // the eye itself
constexpr double FirstCrossing = 10;  // the sweep added in level 13
constexpr double Lash = 8;            // the lashes over the upper lid, level 13
constexpr double SecondCrossing = 7;  // added in level 14

// Corners of the eye, as pixel centres.
inline const QPointF Inner(108.5, 252.5);
inline const QPointF Outer(532.5, 224.5);

// The iris floats between the lids until a crossing stroke reaches it.
inline const QPointF Iris(345, 240);
constexpr double IrisRadius = 84.5;
constexpr double PupilRadius = 30.5;

// The lid curves, shared by the eye and its lashes.
inline QPainterPath upperLid()
{
    QPainterPath p(Inner);
    p.cubicTo(200, 90, 420, 60, Outer.x(), Outer.y());
    return p;
}

inline QPainterPath lowerLid()
{
    QPainterPath p(Inner);
    p.cubicTo(210, 420, 440, 400, Outer.x(), Outer.y());
    return p;
}

inline void drawEyeStrokes(Canvas& c)
{
    c.strokePath(upperLid(), Stroke, Black);
    c.strokePath(lowerLid(), Stroke, Black);

    // From the start up into the inner corner.
    QPainterPath tail(QPointF(45.5, 382.5));
    tail.cubicTo(40, 320, 60, 270, Inner.x(), Inner.y());
    c.strokePath(tail, Stroke, Black);

    // The wing carries on from the outer corner and sweeps up to the top right.
    QPainterPath wing(Outer);
    wing.cubicTo(580, 205, 610, 160, 604.5, 99.5);
    c.strokePath(wing, Stroke, Black);

    // The curl hangs from the lower lid and winds inwards to a dead end.
    QPainterPath curl(QPointF(412, 342));
    curl.cubicTo(412, 398, 465, 430, 508, 408);
    curl.cubicTo(546, 388, 535, 343, 498, 347);
    curl.cubicTo(470, 351, 466, 388, 492, 388);
    c.strokePath(curl, Stroke, Black);

    c.ring(Iris.x(), Iris.y(), IrisRadius - Stroke, IrisRadius, Black);
    c.ring(Iris.x(), Iris.y(), -1, PupilRadius, Black);

    // Landing round the start disc.
    c.ring(45, 382, -1, 17.5, Black);
}

// Lashes cross a lid at the given fractions of its length: a short stub
// inside the eye, a longer curved stroke outside that leans away from the
// middle of the eye. side is +1 for lashes above the lid, -1 below.
inline void drawLashes(Canvas& c, const QPainterPath& lid, std::initializer_list<double> at, double side,
                       double length, double width)
{
    for (double t : at) {
        const QPointF root = lid.pointAtPercent(t);
        const double angle = lid.angleAtPercent(t) * std::numbers::pi / 180; // anticlockwise, y up
        const QPointF along(std::cos(angle), -std::sin(angle));
        const QPointF out = side * QPointF(along.y(), -along.x());
        const double lean = (t - 0.5) * 1.2; // lashes fan out from the middle
        QPainterPath lash(root - 10 * out);
        lash.quadTo(root + 0.6 * length * out, root + length * out + lean * length * along);
        c.strokePath(lash, width, Black);
    }
}

// Level 13: lashes across the upper lid, and a long sweep from the wing down
// and under the eye to the goal near the start.
inline void drawFirstCrossings(Canvas& c)
{
    QPainterPath sweep(QPointF(598, 175));
    sweep.cubicTo(640, 260, 610, 370, 560, 415);
    sweep.cubicTo(490, 475, 260, 470, 153.5, 355.5);
    c.strokePath(sweep, FirstCrossing, Black);

    drawLashes(c, upperLid(), {0.22, 0.36, 0.5, 0.64, 0.78}, 1, 46, Lash);
}

// Level 14: a stroke from outside the lower lid up to the rim of the iris, a
// second one from the pupil out through the rim to the goal inside the inner
// half of the eye, and lashes across the lower lid. The two strokes do not
// meet: the way goes round the rim of the iris from one to the other.
inline void drawSecondCrossings(Canvas& c)
{
    QPainterPath reach(QPointF(540, 300));
    reach.cubicTo(505, 255, 460, 240, 427, 240);
    c.strokePath(reach, SecondCrossing, Black);

    QPainterPath toGoal(Iris);
    toGoal.cubicTo(300, 240, 260, 225, 219.5, 232.5);
    c.strokePath(toGoal, SecondCrossing, Black);

    drawLashes(c, lowerLid(), {0.3, 0.45, 0.6}, -1, 34, SecondCrossing);
}

} // namespace zw::art::eye
