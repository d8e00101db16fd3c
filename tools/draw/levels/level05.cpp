// Level 5: the letters Z I G as thick block letters, joined into one band.
// The run enters the Z through its middle stroke, leaves along the bottom
// into the I, climbs it, crosses into the G along the top and follows the G
// round to its inner bar. Thin links between the letters keep them readable
// as three letters and are the first narrow spots of the game.

#include "draw/Pictures.h"

namespace zw::art {

namespace {

constexpr double Top = 62, Bottom = 410;
constexpr double Stroke = 42;

QPainterPath box(double x1, double y1, double x2, double y2)
{
    QPainterPath p;
    p.addRect(QRectF(x1, y1, x2 - x1, y2 - y1));
    return p;
}

// Z with a bar through its middle (as in a handwritten Z), whose left end
// holds the start.
QPainterPath letterZ(double left, double right, double barY)
{
    const double across = 48; // about Stroke thick across the slant
    QPainterPath slant;
    slant.addPolygon(QPolygonF({{right - across, Top}, {right, Top}, {left + across, Bottom}, {left, Bottom}}));
    slant.closeSubpath();
    return box(left, Top, right, Top + Stroke)
        .united(box(left, Bottom - Stroke, right, Bottom))
        .united(slant)
        .united(box(left, barY - Stroke / 2, right - 24, barY + Stroke / 2));
}

// I with serifs top and bottom.
QPainterPath letterI(double left, double right)
{
    const double mid = (left + right) / 2;
    return box(left, Top, right, Top + Stroke)
        .united(box(left, Bottom - Stroke, right, Bottom))
        .united(box(mid - Stroke / 2, Top, mid + Stroke / 2, Bottom));
}

// G with rounded outer corners, a short spur down from the top right and an
// inner bar at barY reaching in from the right side.
QPainterPath letterG(double left, double right, double barY)
{
    QPainterPath outer;
    outer.addRoundedRect(QRectF(left, Top, right - left, Bottom - Top), 44, 44);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(left + Stroke, Top + Stroke, right - left - 2 * Stroke, Bottom - Top - 2 * Stroke), 10, 10);
    const double barTop = barY - Stroke / 2, barBottom = barY + Stroke / 2;
    return outer.subtracted(inner)
        .subtracted(box(right - Stroke, Top + Stroke + 30, right + 1, barTop))
        .united(box(left + (right - left) * 0.48, barTop, right, barBottom));
}

} // namespace

Canvas drawLevel05()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 5);
    // Letters: Z 14..204, I 244..364, G 404..627, 40 pixels apart.
    QPainterPath word = letterZ(14, 204, 218).united(letterI(244, 364)).united(letterG(404, 627, 213));
    // Links: Z to I along the bottom, I to G along the top.
    const double link = 24;
    word = word.united(box(200, Bottom - Stroke / 2 - link / 2, 248, Bottom - Stroke / 2 + link / 2));
    // The top link runs on past the G's rounded corner so that it meets the
    // G's full stroke and not a sliver of the curve.
    word = word.united(box(360, Top + Stroke / 2 - link / 2, 450, Top + Stroke / 2 + link / 2));
    c.fillPath(word, Black);
    drawSpots(c, 5);
    return c;
}

} // namespace zw::art
