#include "check/Snap.h"

#include "base/ColorKey.h"

#include <algorithm>
#include <array>
#include <limits>

namespace zw::check {

namespace {

// How far apart the brightest and darkest channel must be for a pixel to
// count as coloured rather than grey.
constexpr int LeastChroma = 64;

QRgb onWhite(QRgb c)
{
    const int a = qAlpha(c);
    auto mix = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

QRgb nearest(QRgb c)
{
    // Orange a maze may hold as it is (the link to the maker's page); it is
    // never chosen for a pixel of another colour.
    if (c == QRgb(keyrgb::Orange))
        return c;
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    const int chroma = std::max({r, g, b}) - std::min({r, g, b});
    if (chroma < LeastChroma)
        return qGray(c) < 128 ? QRgb(keyrgb::Black) : QRgb(keyrgb::White);
    static constexpr std::array<QRgb, 5> maze{keyrgb::Black, keyrgb::White, keyrgb::Red, keyrgb::Green,
                                              keyrgb::DarkRed};
    QRgb best = maze[0];
    int bestDistance = std::numeric_limits<int>::max();
    for (QRgb m : maze) {
        const int dr = r - qRed(m), dg = g - qGreen(m), db = b - qBlue(m);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = m;
        }
    }
    return best;
}

} // namespace

Snapped snapToMazeColours(const QImage& picture)
{
    Snapped out;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    out.image = QImage(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb snapped = nearest(onWhite(in[x]));
            to[x] = snapped;
        }
    }
    // The soft edge of a red disc on black mixes to dark red exactly: beside
    // black or red it is that edge, not a way back to the menu, and goes black.
    const QImage first = out.image.copy();
    auto at = [&first](int x, int y) { return first.valid(x, y) ? first.pixel(x, y) : QRgb(keyrgb::White); };
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            if (at(x, y) != QRgb(keyrgb::DarkRed))
                continue;
            bool besideRedOrBlack = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb n = at(x + dx, y + dy);
                    besideRedOrBlack = besideRedOrBlack || n == QRgb(keyrgb::Black) || n == QRgb(keyrgb::Red);
                }
            if (besideRedOrBlack)
                out.image.setPixel(x, y, keyrgb::Black);
        }
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        const QRgb* to = reinterpret_cast<const QRgb*>(out.image.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            out.changed += to[x] != in[x];
    }
    return out;
}

} // namespace zw::check
