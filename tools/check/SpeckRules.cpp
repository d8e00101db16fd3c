// No white specks in a maze: a little island of wall standing in the path
// looks like dust on the screen, yet it kills the run like any wall. A wall
// is either part of a shape the player can see from afar or it is not there.
//
// Only the maze below the badge row is looked at: the holes of the letters
// in the top strip and the badge are white islands by nature.

#include "check/Rules.h"

#include <array>

namespace zw::check {

void checkWallSpecks(const PictureInfo&, const KeyMap& keys, Findings& out)
{
    const int w = keys.width(), h = keys.height();
    const int firstRow = area::badge.bottom() + 1;
    std::vector<std::uint8_t> seen(std::size_t(w) * h, 0);
    std::vector<QPoint> stack;
    for (int y = firstRow; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[std::size_t(y) * w + x] || keys.at(x, y) != Key::Wall)
                continue;
            // One 4-connected piece of white, the way the pointer meets it:
            // white that touches only at a corner is another piece.
            std::vector<QPoint> piece;
            bool reachesTop = false;
            stack.assign(1, QPoint(x, y));
            seen[std::size_t(y) * w + x] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                piece.push_back(p);
                reachesTop |= p.y() < firstRow;
                const std::array<QPoint, 4> next{QPoint(p.x() + 1, p.y()), QPoint(p.x() - 1, p.y()),
                                                 QPoint(p.x(), p.y() + 1), QPoint(p.x(), p.y() - 1)};
                for (const QPoint& q : next) {
                    if (!keys.contains(q.x(), q.y()) || keys.at(q) != Key::Wall)
                        continue;
                    std::uint8_t& s = seen[std::size_t(q.y()) * w + q.x()];
                    if (!s) {
                        s = 1;
                        stack.push_back(q);
                    }
                }
            }
            if (reachesTop || int(piece.size()) >= wall::speckLimit)
                continue;
            QRect bounds;
            for (const QPoint& p : piece)
                bounds |= QRect(p, QSize(1, 1));
            out.add(QStringLiteral("white speck"),
                    QStringLiteral("a piece of wall of %1 px (< %2) stands alone in %3")
                        .arg(piece.size())
                        .arg(wall::speckLimit)
                        .arg(boxText(bounds)),
                    QPoint(x, y));
        }
}

} // namespace zw::check
