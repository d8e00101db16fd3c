#pragma once
// The one flood fill of the picture rules: what is joined to what, on a grid
// of w x h pixels. Pieces of a key colour, the path's region, a pointer's open
// middle and the snap's check that every coloured piece grew from paint all
// ask it.

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <vector>

namespace zw::check {

// Whether pixels that touch at a corner only are joined (8- or 4-connected).
enum class Touch { Sides, SidesAndCorners };

// Reaches every pixel joined to one of `seeds` through pixels that inside(x, y)
// lets in, marking each in `seen` (size.width() * size.height(), row by row)
// and handing it to reached(QPoint) once. Seeds outside the grid, not let in
// or already seen are passed over, so one `seen` serves a run of fills.
template <typename Inside, typename Reached>
void floodFill(QSize size, const std::vector<QPoint>& seeds, Touch touch, std::vector<std::uint8_t>& seen,
               Inside inside, Reached reached)
{
    const int w = size.width(), h = size.height();
    auto take = [&](int x, int y, std::vector<QPoint>& todo) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        std::uint8_t& s = seen[std::size_t(y) * w + x];
        if (s || !inside(x, y))
            return;
        s = 1;
        todo.emplace_back(x, y);
        reached(QPoint(x, y));
    };
    std::vector<QPoint> todo;
    for (const QPoint& seed : seeds)
        take(seed.x(), seed.y(), todo);
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((dx != 0 || dy != 0) && (touch == Touch::SidesAndCorners || dx == 0 || dy == 0))
                    take(p.x() + dx, p.y() + dy, todo);
    }
}

} // namespace zw::check
