// The closing picture: its large dark red art leads back to the menu, and a
// red start sign points into the link colour; no goal ends a run here.

#include "check/Rules.h"

namespace zw::check {

namespace {

// Share of the disc inscribed in `b` (pixel-centre test) painted in colour k.
double discCover(const KeyMap& keys, const QRect& b, Key k)
{
    const double cx = (b.left() + b.right()) / 2.0, cy = (b.top() + b.bottom()) / 2.0;
    const double rx = b.width() / 2.0, ry = b.height() / 2.0;
    int inside = 0, painted = 0;
    for (int y = b.top(); y <= b.bottom(); ++y)
        for (int x = b.left(); x <= b.right(); ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            if (dx * dx + dy * dy > 1.0)
                continue;
            ++inside;
            painted += keys.at(x, y) == k;
        }
    return inside ? double(painted) / inside : 0.0;
}

double meanX(const std::vector<QPoint>& pixels)
{
    double sum = 0;
    for (const QPoint& p : pixels)
        sum += p.x();
    return pixels.empty() ? 0.0 : sum / double(pixels.size());
}

} // namespace

void checkClosing(const PictureInfo&, const KeyMap& keys, Findings& out)
{
    const double cover = discCover(keys, area::closingDisc, Key::Menu);
    if (cover <= 0.5)
        out.add(QStringLiteral("closing art"),
                QStringLiteral("dark red covers %1% of the disc %2, expected most of it")
                    .arg(qRound(cover * 100))
                    .arg(boxText(area::closingDisc)),
                area::closingDisc.topLeft());

    const QString sign = QStringLiteral("start sign");
    std::vector<QPoint> redInside, strayRed;
    for (const QPoint& p : keys.pixelsOf(Key::Start))
        (area::arrowBox.contains(p) ? redInside : strayRed).push_back(p);
    if (!strayRed.empty())
        out.add(sign, QStringLiteral("red outside the box %1: %2").arg(boxText(area::arrowBox), countAndFirst(strayRed)),
                strayRed.front());
    const std::vector<QPoint> orangeInside = keys.pixelsOf(Key::Link, area::arrowBox);
    if (redInside.empty() || orangeInside.empty())
        out.add(sign, QStringLiteral("expected red and orange in the box %1").arg(boxText(area::arrowBox)),
                area::arrowBox.topLeft());
    else if (meanX(redInside) >= meanX(orangeInside))
        out.add(sign, QStringLiteral("the red part does not stand left of the orange part in %1").arg(boxText(area::arrowBox)),
                redInside.front());

    // The level codes and the home page address are written in black.
    int letters = 0;
    for (const QPoint& p : keys.pixelsOf(Key::Info))
        letters += !area::nameStrip.contains(p) && !area::homeStrip.contains(p);
    if (letters == 0)
        out.add(QStringLiteral("text"), QStringLiteral("no black letters"));
}

} // namespace zw::check
