// Level 7: a cat sitting up, seen from the front, its tail curled along the
// floor to the left. The run starts in the right ear, goes down through the
// head and body and out along the thin tail to the curled tip. Short dark
// tufts along the outline make the fur look soft; they are of a colour that
// means nothing to the game, so brushing them is harmless.

#include "draw/Pictures.h"

#include <QtMath>
#include <stdexcept>
#include <string>
#include <vector>

namespace zw::art {

namespace {

const QColor Fur(51, 51, 51);
constexpr int FurPixels = 62;
constexpr int Tufts = FurPixels / 2; // two pixels each, pointing outwards

// The cat without its tail, which carries the fur; and the tail.
struct Cat {
    QPainterPath furry;
    QPainterPath tail;
};

Cat sittingCat()
{
    // Head, a little wider than high, with pointed ears; the right ear is
    // roomy enough to hold the start. Everything is mirrored about x = 366.
    QPainterPath head;
    head.addEllipse(QPointF(366, 205), 58, 50);
    const QPainterPath rightEar = polygonPath({{378, 160}, {424, 104}, {416, 188}});
    const QPainterPath leftEar = polygonPath({{354, 160}, {308, 104}, {316, 188}});
    // Ruffs of fur on the cheeks.
    const QPainterPath cheeks = polygonPath({{312, 198}, {290, 220}, {314, 228}})
                                    .united(polygonPath({{420, 198}, {442, 220}, {418, 228}}));
    // Body: narrow at the shoulders, broad at the haunches, flat on the floor.
    QPainterPath body(QPointF(328, 232));
    body.cubicTo(298, 264, 260, 330, 266, 400);
    body.cubicTo(268, 430, 278, 440, 298, 440);
    body.lineTo(434, 440);
    body.cubicTo(454, 440, 464, 430, 466, 400);
    body.cubicTo(472, 330, 434, 264, 404, 232);
    body.closeSubpath();
    // Tail from behind the body along the floor to the left, then rolled up
    // in a loop that ends in its tip, which is a little bushier: room for the
    // goal.
    QPainterPath line(QPointF(282, 430));
    line.cubicTo(240, 458, 130, 462, 100, 420);
    line.cubicTo(74, 384, 92, 322, 150, 314);
    line.cubicTo(210, 306, 246, 350, 236, 386);
    line.cubicTo(228, 414, 200, 418, 191, 399);
    QPainterPath tip;
    tip.addEllipse(QPointF(191, 399), 13, 13);
    return {head.united(rightEar).united(leftEar).united(cheeks).united(body), strokeOf(line, 13).united(tip)};
}

// Tufts of fur spread evenly along the outline of the shape, each two pixels
// pointing straight out: one on the white pixel next to the edge, one just
// beyond it. Spots where the outline meets other black, or faces the floor,
// get none. Their number is fixed, so the drawing stops if the shape
// changes and the tufts no longer fit.
void furAlong(Canvas& c, const QPainterPath& shape)
{
    QImage& img = c.image();
    const QRgb white = White.rgb(), black = Black.rgb();
    const auto isWhite = [&](QPoint p) { return img.valid(p) && img.pixel(p) == white; };
    const auto nextToBlack = [&](QPoint p) {
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
            if (img.valid(p + d) && img.pixel(p + d) == black)
                return true;
        return false;
    };
    const auto pixelAt = [](QPointF p) { return QPoint(qFloor(p.x()), qFloor(p.y())); };

    // Every place along the outline, a few pixels apart, where a tuft fits.
    struct Tuft {
        QPoint inner, outer;
    };
    std::vector<Tuft> spots;
    const double spacing = 3;
    for (const QPolygonF& poly : shape.toFillPolygons()) {
        double along = 0; // from the start of the current edge
        for (int i = 0; i + 1 < poly.size(); ++i) {
            const QLineF edge(poly[i], poly[i + 1]);
            const double len = edge.length();
            for (; along < len; along += spacing) {
                const QPointF at = edge.pointAt(along / len);
                QPointF out(edge.dy() / len, -edge.dx() / len);
                if (shape.contains(at + out * 2))
                    out = -out;
                if (out.y() > 0.7)
                    continue; // facing the floor
                const QPoint inner = pixelAt(at + out * 0.6);
                const QPoint outer = pixelAt(QPointF(inner) + QPointF(0.5, 0.5) + out * 1.2);
                if (outer != inner && isWhite(inner) && isWhite(outer) && nextToBlack(inner)
                    && !nextToBlack(outer))
                    spots.push_back({inner, outer});
            }
            along -= len;
        }
    }
    if (int(spots.size()) < Tufts * 4)
        throw std::runtime_error("level 7: the outline has room for too few tufts of fur");
    // Picks at least four spots apart, so no two tufts share a pixel.
    for (int k = 0; k < Tufts; ++k) {
        const Tuft& t = spots[size_t((k + 0.5) * spots.size() / Tufts)];
        c.pixel(t.inner.x(), t.inner.y(), Fur);
        c.pixel(t.outer.x(), t.outer.y(), Fur);
    }
    int furPixels = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            furPixels += img.pixel(x, y) == Fur.rgb();
    if (furPixels != FurPixels)
        throw std::runtime_error("level 7: " + std::to_string(furPixels) + " pixels of fur instead of "
                                 + std::to_string(FurPixels));
}

} // namespace

Canvas drawLevel07()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 7);
    const Cat cat = sittingCat();
    c.fillPath(cat.furry.united(cat.tail), Black);
    // Eyes with slit pupils that run top to bottom, so the pupils stay part of
    // the head; and the line between the front legs.
    c.ellipse(330, 194, 352, 208, White);
    c.ellipse(380, 194, 402, 208, White);
    c.rect(340, 193, 342, 209, Black);
    c.rect(390, 193, 392, 209, Black);
    c.rect(365, 380, 367, 440, White);
    c.rect(320, 408, 322, 440, White);
    c.rect(410, 408, 412, 440, White);
    furAlong(c, cat.furry);
    drawSpots(c, 7);
    return c;
}

} // namespace zw::art
