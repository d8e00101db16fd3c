// Level 20, the last maze: the word HAVEN in five tall, angular letters. Each
// letter is a thick stroke shown by its outline, and the path is that
// outline: a thin black line round every letter, riveted at every corner.
// Short links join the letters, and a small cut in each outline, like the
// bridge of a stencil, closes the short way round, so the player has to walk
// the long way round every letter from the start at the foot of the H to the
// goal at the top corner of the N.

#include "draw/Pictures.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace zw::art {

namespace {

constexpr double Top = 104, Bottom = 407; // the letters' top and bottom edges
constexpr double Stroke = 22;             // thickness of the letters' strokes
constexpr double Line = 6.5;               // the path: the outline drawn round them
constexpr double Knot = 6.0;                // radius of the rounded-out corners of the path

QPainterPath box(double x1, double y1, double x2, double y2)
{
    QPainterPath p;
    p.addRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
    return p;
}

// A slanted stroke from its top edge [topX, topX + width] to its bottom edge
// [bottomX, bottomX + width], running over the letters' full height.
QPainterPath slant(double topX, double bottomX, double width)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(
        {{topX, Top}, {topX + width, Top}, {bottomX + width, Bottom}, {bottomX, Bottom}}));
    p.closeSubpath();
    return p;
}

// Horizontal width of a slanted stroke that is Stroke thick across.
double slantWidth(double topX, double bottomX)
{
    const double dx = bottomX - topX, dy = Bottom - Top;
    return Stroke * std::hypot(dx, dy) / dy;
}

QPainterPath letterH(double x)
{
    const double mid = (Top + Bottom) / 2;
    return box(x, Top, x + Stroke, Bottom)
        .united(box(x + 98 - Stroke, Top, x + 98, Bottom))
        .united(box(x, mid - Stroke / 2, x + 98, mid + Stroke / 2));
}

QPainterPath letterA(double x)
{
    // A flat roof, so the legs meet in a short bar instead of a long spike.
    const double w = slantWidth(x + 27, x);
    return slant(x + 27, x, w)
        .united(slant(x + 98 - 27 - w, x + 98 - w, w))
        .united(box(x + 27, Top, x + 98 - 27, Top + Stroke))
        .united(box(x + 10, 285, x + 88, 285 + Stroke));
}

QPainterPath letterV(double x)
{
    // The A upside down, without the crossbar.
    const double w = slantWidth(x, x + 27);
    return slant(x, x + 27, w)
        .united(slant(x + 98 - w, x + 98 - 27 - w, w))
        .united(box(x + 27, Bottom - Stroke, x + 98 - 27, Bottom));
}

QPainterPath letterE(double x)
{
    const double mid = (Top + Bottom) / 2;
    return box(x, Top, x + Stroke, Bottom)
        .united(box(x, Top, x + 98, Top + Stroke))
        .united(box(x, mid - Stroke / 2, x + 86, mid + Stroke / 2))
        .united(box(x, Bottom - Stroke, x + 98, Bottom));
}

QPainterPath letterN(double x)
{
    const double w = slantWidth(x, x + 98 - 28);
    return box(x, Top, x + Stroke, Bottom)
        .united(box(x + 98 - Stroke, Top, x + 98, Bottom))
        .united(slant(x, x + 98 - w, w));
}

} // namespace

Canvas drawLevel20()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 20);

    // Five letters 98 px wide with 24 px between them, from the start's
    // corner at x 22 to the goal's corner at x 608.
    const QPainterPath letters[] = {letterH(22), letterA(144), letterV(266), letterE(388),
                                    letterN(510)};
    // A knot at every corner and joint: the hand cuts corners, and a bare
    // corner of so thin a line would pinch the way there.
    const auto knot = [&](QPointF p) {
        c.ring(p.x() - 0.5, p.y() - 0.5, -1, Knot, Black); // pixel (x, y) spans x to x + 1
    };
    for (const QPainterPath& letter : letters) {
        const QPainterPath outline = letter.simplified();
        c.strokePath(outline, Line, Black);
        for (const QPolygonF& ring : outline.toSubpathPolygons())
            for (const QPointF& corner : ring)
                knot(corner);
    }

    // The links: H to A and A to V along the bottom, V to E and E to N along
    // the top. Each ends on the outlines it joins.
    const auto link = [&](double y, const QPainterPath& from, const QPainterPath& to) {
        // Right edge of from and left edge of to at height y.
        double x1 = 0, x2 = 640;
        for (int x = 0; x < 640; ++x)
            if (from.contains(QPointF(x + 0.5, y)))
                x1 = x + 1;
        for (int x = 639; x >= 0; --x)
            if (to.contains(QPointF(x + 0.5, y)))
                x2 = x;
        c.stroke({{x1, y}, {x2, y}}, Line, Black);
        knot({x1, y});
        knot({x2, y});
    };
    link(Bottom - 16, letters[0], letters[1]);
    link(Bottom - 16, letters[1], letters[2]);
    link(Top + 16, letters[2], letters[3]);
    link(Top + 16, letters[3], letters[4]);

    // The cuts, each on the short way between where the path enters a letter
    // and where it leaves: under the crossbars of H and A, in the V's foot,
    // on top of the E and on top of the N's left leg. The E and the N are
    // entered and left near their tops, so the way goes all the way down and
    // round them.
    const auto cut = [&](double x, double y) {
        c.rect(int(x) - 5, int(y) - 5, int(x) + 5, int(y) + 5, White);
    };
    const double mid = (Top + Bottom) / 2;
    cut(22 + 49, mid + Stroke / 2);
    cut(144 + 49, 285 + Stroke);
    cut(266 + 49, Bottom);
    cut(388 + 49, Top);
    cut(510 + 11, Top);

    c.ellipse(22 - 11, 407 - 11, 22 + 11, 407 + 11, Black);
    c.ellipse(608 - 11, 104 - 11, 608 + 11, 104 + 11, Black);
    drawStart(c, 14, 399, 17);
    drawGoal(c, 600, 96, 17);
    return c;
}

} // namespace zw::art
