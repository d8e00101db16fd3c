#pragma once
// Curve helpers for the late maze levels: resampling, sideways waves, corner
// rounding and circular arcs. A wave makes a corridor longer and keeps the
// hand moving; rounded corners make a grid path look drawn by hand.

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace zw::art {

// The polyline resampled so that neighbouring points lie about step pixels apart.
inline std::vector<QPointF> resampled(const std::vector<QPointF>& line, double step = 1.0)
{
    std::vector<QPointF> out;
    if (line.empty())
        return out;
    out.push_back(line.front());
    double carry = 0.0; // length already walked since the last emitted point
    for (size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1], b = line[i];
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        double at = step - carry;
        while (at <= len) {
            out.push_back(a + (b - a) * (at / len));
            at += step;
        }
        carry = len - (at - step);
    }
    if (out.back() != line.back())
        out.push_back(line.back());
    return out;
}

// The curve pushed sideways along its normal by amplitude(s) * sin(2 pi s / wavelength + phase),
// s being the length walked along the curve. Both ends stay where they are
// when the amplitude is zero there, so the wave can start and end on a disc.
inline std::vector<QPointF> waved(const std::vector<QPointF>& curve, double wavelength,
                                  const std::function<double(double s, double total)>& amplitude,
                                  double phase = 0.0)
{
    const std::vector<QPointF> base = resampled(curve, 1.0);
    std::vector<double> walked(base.size(), 0.0);
    for (size_t i = 1; i < base.size(); ++i)
        walked[i] = walked[i - 1] + std::hypot(base[i].x() - base[i - 1].x(),
                                               base[i].y() - base[i - 1].y());
    const double total = walked.back();
    std::vector<QPointF> out;
    out.reserve(base.size());
    for (size_t i = 0; i < base.size(); ++i) {
        // The normal from the neighbours a few pixels away, so single-pixel
        // kinks of the sampled curve do not shake it.
        const size_t lo = i >= 3 ? i - 3 : 0, hi = std::min(base.size() - 1, i + 3);
        const QPointF d = base[hi] - base[lo];
        const double len = std::hypot(d.x(), d.y());
        const QPointF normal = len > 0 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 0);
        const double s = walked[i];
        const double offset =
            amplitude(s, total) * std::sin(2 * std::numbers::pi * s / wavelength + phase);
        out.push_back(base[i] + normal * offset);
    }
    return out;
}

// A circular arc around (cx, cy), from angle a0 to a1 in degrees (screen
// angles: 0 to the right, 90 downwards), sampled every degree.
inline std::vector<QPointF> arcPoints(double cx, double cy, double radius, double a0, double a1)
{
    std::vector<QPointF> out;
    const int steps = std::max(2, int(std::ceil(std::abs(a1 - a0))));
    for (int i = 0; i <= steps; ++i) {
        const double a = (a0 + (a1 - a0) * i / steps) * std::numbers::pi / 180.0;
        out.emplace_back(cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    return out;
}

// Corners of a polyline rounded off by cutting them repeatedly (Chaikin);
// both ends stay in place.
inline std::vector<QPointF> smoothed(std::vector<QPointF> line, int rounds)
{
    for (int r = 0; r < rounds && line.size() > 2; ++r) {
        std::vector<QPointF> next{line.front()};
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const QPointF a = line[i], b = line[i + 1];
            if (i > 0)
                next.push_back(a * 0.75 + b * 0.25);
            if (i + 2 < line.size())
                next.push_back(a * 0.25 + b * 0.75);
        }
        next.push_back(line.back());
        line = std::move(next);
    }
    return line;
}

} // namespace zw::art
