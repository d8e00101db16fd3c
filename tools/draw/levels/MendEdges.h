#pragma once
// Last touch for the curvy levels (12 to 15, 17 and 18): a thick stroke laid
// over pixels leaves lone pixels on its edge where a tip, a tight turn or two
// strokes meeting fall between pixel centres, a black pixel standing out of
// the path or a white one biting into it. The hand meets them as a bump, the
// eye as a ragged edge. Here every black or white pixel below the badge that
// has three or four 4-neighbours of the other of the two colours takes their
// colour, round after round, until none is left. Other colours (the discs,
// the pupils) neither change nor count.

#include "draw/Canvas.h"

#include <vector>

namespace zw::art {

inline void mendEdges(Canvas& c, int firstRow = 49)
{
    QImage& img = c.image();
    const QRgb black = Black.rgb(), white = White.rgb();
    const int w = img.width(), h = img.height();
    for (int round = 0; round < 20; ++round) {
        std::vector<QPoint> flips;
        for (int y = std::max(firstRow, 1); y + 1 < h; ++y)
            for (int x = 1; x + 1 < w; ++x) {
                const QRgb me = img.pixel(x, y);
                if (me != black && me != white)
                    continue;
                const QRgb other = me == black ? white : black;
                const int against = (img.pixel(x - 1, y) == other) + (img.pixel(x + 1, y) == other)
                                    + (img.pixel(x, y - 1) == other) + (img.pixel(x, y + 1) == other);
                if (against >= 3)
                    flips.emplace_back(x, y);
            }
        if (flips.empty())
            return;
        for (const QPoint& p : flips)
            img.setPixel(p, img.pixel(p) == black ? white : black);
    }
}

} // namespace zw::art
