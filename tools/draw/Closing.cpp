// The closing picture, shown after the last level: congratulations, the list
// of all level codes as a reward, a start sign that leads to the maker's home
// page, and a large dark red clock with a curved arrow that takes the player
// back to the menu.

#include "draw/Pictures.h"
#include "base/Maker.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

const char* const Codes[20] = {
    "FJORD", "QUILT", "LANTERNS", "CRANE", "B(A)R(E)N", "WALNUT", "TUNDRA",   "OWL",   "MOSS",     "GRAIN",
    "BLIZZARD", "PLUMB", "?5???", "?8???", "SKYLIGHT", "FERN", "OTTER", "EMBER", "GRANITE", "MARLIN",
};

// Writes s with its baseline at row baseline and its ink starting at column x,
// so that pieces of one line written separately still share their baseline.
void textOnBaseline(Canvas& c, int x, int baseline, const QString& s, int size)
{
    const QRect ink = c.textInk(s, size);
    c.text(x, baseline + ink.top(), s, size, Black);
}

int textWidth(const Canvas& c, const QString& s, int size) { return c.textInk(s, size).width(); }

void drawHeading(Canvas& c)
{
    textOnBaseline(c, 20, 44, QStringLiteral("Gratulujeme!"), 24);
    textOnBaseline(c, 20, 76, QStringLiteral("Congratulations!"), 24);
}

// The home page address in black: twice under the orange one at the top
// right, once along the bottom edge, each the same size as the orange one.
void drawAddresses(Canvas& c)
{
    c.textInBox(452, 18, 637, 30, maker::Host, Black);
    c.textInBox(452, 34, 637, 46, maker::Host, Black);
    c.textInBox(452, 464, 637, 476, maker::Host, Black);
}

// The twenty codes in two columns of ten. The numbers are set flush right so
// that the dashes line up down each column.
void drawCodes(Canvas& c)
{
    constexpr int size = 15, firstBaseline = 196, pitch = 26;
    constexpr int columns[2] = {40, 230}; // where the widest number starts
    const int numberWidth = textWidth(c, QStringLiteral("20"), size);
    for (int i = 0; i < 20; ++i) {
        const int left = columns[i / 10];
        const int baseline = firstBaseline + (i % 10) * pitch;
        const QString number = QString::number(i + 1);
        textOnBaseline(c, left + numberWidth - textWidth(c, number, size), baseline, number, size);
        textOnBaseline(c, left + numberWidth + 7, baseline, QStringLiteral("-"), size);
        textOnBaseline(c, left + numberWidth + 22, baseline, QString::fromLatin1(Codes[i]), size);
    }
}

// A rounded sign, red on the left (a start spot) and orange on the right (the
// home page link), with a red arrow from the red part into the orange one:
// starting here and following the arrow opens the maker's home page.
void drawStartSign(Canvas& c)
{
    constexpr int left = 100, top = 93, right = 325, bottom = 158, split = 196;
    c.roundedRect(left, top, right, bottom, 16, Orange);
    c.recolour(left, top, split, bottom, Orange, Red);
    const int mid = (top + bottom) / 2;
    const QRect word = c.textInk(QStringLiteral("START"), 20);
    c.text(left + 2 + (split - left + 1 - word.width()) / 2, mid - word.height() / 2, QStringLiteral("START"), 20,
           Black);
    // The shaft leaves the red part at full width; the head stops short of
    // the sign's rounded right end.
    c.rect(split, mid - 7, 272, mid + 7, Red);
    c.polygon({{268, double(mid) - 22.5}, {308.5, double(mid) + 0.5}, {268, double(mid) + 23.5}}, Red);
}

// A clock face: a thick ellipse with a wedge filled almost all the way round,
// and a curved arrow under it pointing onwards. Pressing any of it returns to
// the menu, so it is drawn large.
void drawClock(Canvas& c)
{
    constexpr int left = 423, top = 152, right = 615, bottom = 342;
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left + 1) / 2.0, ry = (bottom - top + 1) / 2.0;
    c.ellipse(left, top, right, bottom, DarkRed);
    c.ellipse(left + 8, top + 8, right - 8, bottom - 8, White);

    // The wedge: from twelve o'clock clockwise round to ten o'clock.
    const QRectF inner(left + 14, top + 14, right - left + 1 - 28, bottom - top + 1 - 28);
    QPainterPath wedge(QPointF(cx + 0.5, cy + 0.5));
    wedge.arcTo(inner, 90, -300);
    wedge.closeSubpath();
    c.fillPath(wedge, DarkRed);

    // The arrow follows the bottom of the face at a little distance, from
    // lower left to lower right, and points up along it.
    constexpr double gap = 18, startDeg = 150, endDeg = 42;
    const double ax = rx + gap, ay = ry + gap;
    std::vector<QPointF> arc;
    for (double a = startDeg; a >= endDeg; a -= 2) {
        const double t = a * std::numbers::pi / 180;
        arc.push_back(QPointF(cx + 0.5 + ax * std::cos(t), cy + 0.5 + ay * std::sin(t)));
    }
    c.stroke(arc, 9, DarkRed);
    // Head: a triangle on the arc's end, along its direction.
    const double t = (endDeg - 4) * std::numbers::pi / 180;
    const QPointF tip(cx + 0.5 + ax * std::cos(t), cy + 0.5 + ay * std::sin(t));
    const QPointF end = arc.back();
    const QPointF dir = (tip - end) / std::hypot(tip.x() - end.x(), tip.y() - end.y());
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = end - dir * 4;
    c.polygon({base + normal * 13, tip + dir * 14, base - normal * 13}, DarkRed);

    // Above the clock, a word on what it is for, in both languages.
    for (const auto& [baseline, words] : {std::pair{112, QStringLiteral("Zpět do menu")},
                                          std::pair{134, QStringLiteral("Back to menu")}})
        textOnBaseline(c, int(cx) - textWidth(c, words, 15) / 2, baseline, words, 15);
}

} // namespace

Canvas drawClosing()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 0);
    drawHeading(c);
    drawAddresses(c);
    drawStartSign(c);
    drawCodes(c);
    drawClock(c);
    return c;
}

} // namespace zw::art
