// Level 15: a long, thin, wavy path across the window. It winds out from the
// middle in two rounds of a squarish spiral to the top left corner; the path
// waves all the way, so the hand can never simply slide along a straight
// edge. The corridor is about ten pixels wide: the deep, even waves make the
// level hard, not a path so thin that a steady hand has no slack. Each side
// of the spiral holds its own whole number of waves, fitted so that a wave
// crest leans into every corner and the wave calms a little there: the path
// rounds the corners without folds.

#include "draw/Pictures.h"
#include "draw/levels/MendEdges.h"
#include "draw/levels/artCShapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace zw::art {

namespace {

double signedRoot(double v) { return std::copysign(std::sqrt(std::abs(v)), v); }

double length(QPointF d) { return std::hypot(d.x(), d.y()); }

// A squarish spiral round a short horizontal core, clockwise on screen. The
// radius grows evenly with the angle, so neighbouring rounds keep the same
// distance on all four sides; the core stretches the rounds to the window's
// wide shape. The centre drifts a little (by drift over the whole way) to
// balance the last, unfinished round in the window. Angles in degrees, 0 to
// the right, 90 downwards. The corners of the rounds (the diagonals, 45
// degrees plus a multiple of 90) are noted by their place on the line.
struct Spiral {
    std::vector<QPointF> points;
    std::vector<size_t> corners;
};

Spiral spiral(QPointF start, double core, double innerRadius, double outerRadius, double startAngle,
              double endAngle, QPointF drift)
{
    const auto at = [&](double degrees, double radius) {
        const double a = degrees * std::numbers::pi / 180.0;
        // Square roots of the sine and cosine push the rounds out into the corners.
        return QPointF((core + radius) * signedRoot(std::cos(a)), radius * signedRoot(std::sin(a)));
    };
    const QPointF centre = start - at(startAngle, innerRadius);
    Spiral out;
    const int steps = 6000;
    double nextCorner = 45 + 90 * std::ceil((startAngle - 45) / 90);
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double angle = startAngle + (endAngle - startAngle) * t;
        const double radius = innerRadius + (outerRadius - innerRadius) * t;
        out.points.push_back(centre + drift * t + at(angle, radius));
        if (angle >= nextCorner) {
            out.corners.push_back(out.points.size() - 1);
            nextCorner += 90;
        }
    }
    return out;
}

// The line pushed sideways along its normal by a wave of about wavelength,
// amplitude(s, total) deep at the length s walked along it. The wave is
// stretched or squeezed a little on each stretch between two knots (places on
// the line) so that every stretch holds a whole number of half waves: at each
// knot the wave crosses the line itself, so the waves of two sides meet at a
// corner instead of folding over it.
std::vector<QPointF> wavedBetweenKnots(const std::vector<QPointF>& line, std::vector<size_t> knots,
                                       double wavelength,
                                       const std::function<double(double s, double total)>& amplitude)
{
    // The length walked to every point of the line and to every knot.
    std::vector<double> walked(line.size(), 0.0);
    for (size_t i = 1; i < line.size(); ++i)
        walked[i] = walked[i - 1] + length(line[i] - line[i - 1]);
    const double total = walked.back();
    std::vector<double> knotAt{0.0};
    for (size_t k : knots)
        knotAt.push_back(walked[k]);
    knotAt.push_back(total);

    // The phase grows evenly on each stretch. At a corner the wave stands at
    // its crest on the inner side of the turn: there its own bend runs
    // against the corner's and the two soften each other, where a crest on
    // the outer side would add them up into a fold.
    std::vector<double> knotPhase{0.0};
    for (size_t k = 1; k < knotAt.size(); ++k) {
        const double wanted = 2 * std::numbers::pi * (knotAt[k] - knotAt[k - 1]) / wavelength;
        double step = wanted;
        if (k + 1 < knotAt.size()) {
            const size_t at = knots[k - 1];
            const QPointF before = line[at] - line[at >= 8 ? at - 8 : 0];
            const QPointF after = line[std::min(line.size() - 1, at + 8)] - line[at];
            const double turn = before.x() * after.y() - before.y() * after.x();
            const double crest = turn > 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
            // The step nearest to the even one that lands on that crest.
            const double offset = std::remainder(crest - (knotPhase.back() + wanted), 2 * std::numbers::pi);
            step = wanted + offset;
        }
        knotPhase.push_back(knotPhase.back() + step);
    }
    const auto phaseAt = [&](double s) {
        size_t k = 1;
        while (k + 1 < knotAt.size() && knotAt[k] < s)
            ++k;
        const double f = (s - knotAt[k - 1]) / (knotAt[k] - knotAt[k - 1]);
        return knotPhase[k - 1] + f * (knotPhase[k] - knotPhase[k - 1]);
    };

    // Round a corner the wave calms down to half its depth, so the bends of
    // the wave beside it do not add to the corner's own.
    const auto calm = [&](double s) {
        double nearest = wavelength;
        for (size_t k = 1; k + 1 < knotAt.size(); ++k)
            nearest = std::min(nearest, std::abs(s - knotAt[k]));
        return 0.75 - 0.25 * std::cos(std::numbers::pi * nearest / wavelength);
    };

    // Resample every pixel of length and push each point along its normal,
    // taken from neighbours a few pixels away so the sampling does not shake it.
    const std::vector<QPointF> base = resampled(line, 1.0);
    std::vector<QPointF> out;
    out.reserve(base.size());
    double s = 0.0;
    for (size_t i = 0; i < base.size(); ++i) {
        if (i > 0)
            s += length(base[i] - base[i - 1]);
        const size_t lo = i >= 3 ? i - 3 : 0, hi = std::min(base.size() - 1, i + 3);
        const QPointF d = base[hi] - base[lo];
        const double len = length(d);
        const QPointF normal = len > 0 ? QPointF(-d.y() / len, d.x() / len) : QPointF(0, 0);
        out.push_back(base[i] + normal * (amplitude(s, total) * calm(s) * std::sin(phaseAt(s))));
    }
    return out;
}

} // namespace

Canvas drawLevel15()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 15);

    const QPointF goal(34, 89);
    Spiral way = spiral({293, 232}, 80, 50, 205, 265, 200 + 2 * 360, {10, -30});
    // The last bend, where the spiral turns off straight to the goal, is a
    // corner too.
    way.corners.push_back(way.points.size() - 1);
    way.points.push_back(goal);
    // The wave swells in from the start spot and calms down into the goal.
    const auto amplitude = [](double s, double total) {
        return 15.0 * std::min({1.0, s / 60.0, (total - s) / 30.0});
    };
    c.stroke(wavedBetweenKnots(way.points, way.corners, 56, amplitude), 10, Black);

    // Round black pads give the discs a margin of path all round.
    c.ring(293, 232, -1, 15.5, Black);
    c.ring(34, 89, -1, 15.5, Black);
    drawSpots(c, 15);
    mendEdges(c);
    return c;
}

} // namespace zw::art
