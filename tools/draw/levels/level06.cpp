// Level 6: a cat lying down, its tail running off into a fish. The run starts
// on the cat's crown, goes down through the neck into the body, out along the
// thin tail and through the narrow join into the fish. The eyes and the
// fish's gill are white, so they are walls inside the shapes.

#include "draw/Pictures.h"

namespace zw::art {

namespace {

// Facing left, head raised at the front, front paws stretched out below it.
QPainterPath lyingCat()
{
    QPainterPath head;
    head.addEllipse(QPointF(141, 126), 54, 54);
    // Ears lean out a little, as on an alert cat.
    const QPainterPath ears = polygonPath({{92, 118}, {90, 48}, {138, 80}}).united(polygonPath({{146, 80}, {194, 48}, {192, 118}}));
    // Body outline from the back of the neck round the rump and back along
    // the floor to the tips of the front paws.
    QPainterPath body(QPointF(176, 150));
    body.cubicTo(215, 165, 250, 170, 300, 172);
    body.cubicTo(390, 172, 455, 180, 480, 226);
    body.cubicTo(500, 262, 492, 300, 462, 318);
    body.lineTo(86, 318);
    body.cubicTo(62, 318, 62, 288, 86, 288);
    body.lineTo(168, 288);
    body.cubicTo(180, 270, 174, 230, 164, 196);
    body.closeSubpath();
    return head.united(ears).united(body);
}

// Facing left towards the cat, forked tail fin at the right.
QPainterPath fish()
{
    QPainterPath body(QPointF(456, 415));
    body.cubicTo(490, 362, 572, 360, 604, 415);
    body.cubicTo(572, 470, 490, 468, 456, 415);
    body.closeSubpath();
    return body.united(polygonPath({{594, 415}, {636, 376}, {624, 415}, {636, 454}}));
}

} // namespace

Canvas drawLevel06()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 6);
    // The tail leaves the rump narrow, swings out to the right and curls back
    // down into the fish's mouth, where it thins once more.
    QPainterPath tail(QPointF(470, 214));
    tail.cubicTo(560, 196, 604, 300, 540, 330);
    tail.cubicTo(500, 350, 448, 360, 452, 392);
    QPainterPath join(QPointF(452, 392));
    join.lineTo(466, 414);
    c.fillPath(lyingCat().united(strokeOf(tail, 18)).united(strokeOf(join, 14)).united(fish()), Black);

    // The cat's eye and the line of its hind leg; the fish's eye and gill.
    c.ellipse(102, 112, 122, 122, White);
    QPainterPath thigh(QPointF(356, 318));
    thigh.cubicTo(350, 270, 400, 236, 440, 250);
    c.strokePath(thigh, 3, White);
    c.disc(484, 404, 5, White);
    QPainterPath gill(QPointF(504, 400));
    gill.quadTo(514, 415, 504, 430);
    c.strokePath(gill, 3, White);

    drawSpots(c, 6);
    return c;
}

} // namespace zw::art
