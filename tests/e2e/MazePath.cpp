#include "MazePath.h"

#include <algorithm>
#include <deque>

namespace zw::e2e {

namespace {

// Colours compare without their alpha: the pictures are opaque.
QRgb rgbAt(const QImage& picture, int x, int y)
{
    return picture.pixel(x, y) & 0xFFFFFF;
}

constexpr QPoint Neighbours[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

// For every pixel, its distance (in 8-connected steps) to the nearest pixel
// that is not passable or to the picture's edge.
std::vector<int> clearances(const QImage& picture, const std::vector<QRgb>& passable)
{
    const int w = picture.width(), h = picture.height();
    std::vector<QRgb> openColours;
    for (QRgb c : passable)
        openColours.push_back(c & 0xFFFFFF);
    std::vector<int> distance(static_cast<std::size_t>(w) * h, -1);
    std::deque<QPoint> queue;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = rgbAt(picture, x, y);
            const bool open = std::find(openColours.begin(), openColours.end(), c) != openColours.end();
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (!open || edge) {
                distance[y * w + x] = open ? 1 : 0;
                queue.push_back({x, y});
            }
        }
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        for (QPoint step : Neighbours) {
            const QPoint q = p + step;
            if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h || distance[q.y() * w + q.x()] >= 0)
                continue;
            distance[q.y() * w + q.x()] = distance[p.y() * w + p.x()] + 1;
            queue.push_back(q);
        }
    }
    return distance;
}

} // namespace

std::optional<QPoint> centreOf(const QImage& picture, QRgb colour)
{
    qint64 sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (rgbAt(picture, x, y) == (colour & 0xFFFFFF)) {
                sumX += x;
                sumY += y;
                ++count;
            }
    if (count == 0)
        return std::nullopt;
    return QPoint(static_cast<int>(sumX / count), static_cast<int>(sumY / count));
}

std::optional<QPoint> solidSpot(const QImage& picture, QRgb colour)
{
    for (int radius : {3, 2, 1, 0}) {
        for (int y = radius; y < picture.height() - radius; ++y)
            for (int x = radius; x < picture.width() - radius; ++x) {
                bool solid = true;
                for (int dy = -radius; dy <= radius && solid; ++dy)
                    for (int dx = -radius; dx <= radius && solid; ++dx)
                        solid = rgbAt(picture, x + dx, y + dy) == (colour & 0xFFFFFF);
                if (solid)
                    return QPoint(x, y);
            }
    }
    return std::nullopt;
}

std::optional<std::vector<QPoint>> findRoute(const QImage& picture, QPoint from,
                                             const std::vector<QRgb>& passable, int clearance,
                                             const std::function<bool(QPoint)>& isTarget)
{
    const int w = picture.width(), h = picture.height();
    const std::vector<int> room = clearances(picture, passable);
    std::vector<int> cameFrom(static_cast<std::size_t>(w) * h, -1);
    const auto index = [w](QPoint p) { return p.y() * w + p.x(); };
    std::deque<QPoint> queue{from};
    cameFrom[index(from)] = index(from);
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        for (QPoint step : Neighbours) {
            const QPoint q = p + step;
            if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h || cameFrom[index(q)] >= 0)
                continue;
            const bool target = isTarget(q);
            if (!target && room[index(q)] < clearance)
                continue;
            cameFrom[index(q)] = index(p);
            if (target) {
                std::vector<QPoint> route{q};
                for (int i = index(p); i != index(from); i = cameFrom[i])
                    route.push_back({i % w, i / w});
                route.push_back(from);
                std::reverse(route.begin(), route.end());
                return route;
            }
            queue.push_back(q);
        }
    }
    return std::nullopt;
}

std::optional<std::vector<QPoint>> findWidestRoute(const QImage& picture, QPoint from,
                                                   const std::vector<QRgb>& passable,
                                                   const std::function<bool(QPoint)>& isTarget)
{
    for (int clearance : {8, 6, 4, 3, 2, 1})
        if (auto route = findRoute(picture, from, passable, clearance, isTarget))
            return route;
    return std::nullopt;
}

std::vector<QPoint> everyNth(const std::vector<QPoint>& route, int step)
{
    std::vector<QPoint> points;
    for (std::size_t i = 0; i < route.size(); i += step)
        points.push_back(route[i]);
    if (!route.empty() && points.back() != route.back())
        points.push_back(route.back());
    return points;
}

} // namespace zw::e2e
