// Width of a passage, precisely: we look at points on a half-pixel grid
// (pixel centres, the midpoints of pixel edges and pixel corners). For a point
// q let D(q) be the Euclidean distance from q to the centre of the nearest wall
// pixel (any pixel that is not passable, including the ring of pixels just
// outside the picture). The local width at q is 2 * D(q) - 1: the number of
// pixels a straight corridor holds across. A corridor k pixels wide along an
// axis measures exactly k on its centre line, whether k is odd (the line runs
// through pixel centres) or even (it runs along pixel edges); slanted
// corridors measure a little less than the stroke width they were drawn with.
//
// The widest path is the one from the start disc to the goal disc (4-connected
// steps on the half-pixel grid) whose smallest local width is largest. It is
// found by adding grid points in order of falling width to a union-find until
// a start pixel and a goal pixel fall into one set; the last point added is
// the narrowest place of that path.
//
// The easiest path is the one a hand steers fastest: by the steering law the
// time grows with the sum of length / width along the way. We take pixel
// centres only, 8-connected as in the shortest path, and charge a step of
// length s between pixels a and b s * (1 / w(a) + 1 / w(b)) / 2; Dijkstra from
// the whole start disc finds the least sum to each goal disc. Along the middle
// of a straight corridor k pixels wide (k odd) that is its length / k; hugging
// a wall costs up to k times as much, so the way keeps to the middle.

#include "check/Playability.h"
#include "check/FloodFill.h"
#include "check/PictureFacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <queue>

namespace zw::check {

bool passable(Key k)
{
    return k == Key::Info || k == Key::Start || k == Key::Goal;
}

QString widthText(double width)
{
    // Rounded down to a tenth, so that a width just under 4 never reads "4".
    const double tenths = std::floor(width * 10.0 + 1e-6);
    if (std::fmod(tenths, 10.0) == 0.0)
        return QString::number(qint64(tenths / 10.0));
    return QString::number(tenths / 10.0, 'f', 1);
}

Spot spotOf(const QRect& box)
{
    return {discCentre(box), discPixels(box)};
}

std::vector<std::uint8_t> regionFrom(const KeyMap& keys, const std::vector<QPoint>& seeds)
{
    std::vector<std::uint8_t> in(std::size_t(keys.width()) * keys.height(), 0);
    floodFill(QSize(keys.width(), keys.height()), seeds, Touch::Sides, in,
              [&keys](int x, int y) { return passable(keys.at(x, y)); }, [](QPoint) {});
    return in;
}

namespace {

// Squared distance transform of one line (Felzenszwalb and Huttenlocher):
// d[i] = min_j (f[j] + (i - j)^2).
void distance1d(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v, std::vector<double>& z)
{
    const int n = int(f.size());
    const double inf = std::numeric_limits<double>::infinity();
    int k = -1; // index of the rightmost parabola of the lower envelope
    for (int q = 0; q < n; ++q) {
        if (f[q] == inf) // no wall here; the envelope skips it
            continue;
        if (k < 0) {
            k = 0;
            v[0] = q;
            z[0] = -inf;
            z[1] = inf;
            continue;
        }
        double s = 0;
        for (;;) {
            const int p = v[k];
            s = ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * (q - p));
            if (s > z[k])
                break;
            --k; // z[0] is -inf, so this stops at the first parabola
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = inf;
    }
    if (k < 0) {
        std::fill(d.begin(), d.end(), inf);
        return;
    }
    int j = 0;
    for (int q = 0; q < n; ++q) {
        while (z[j + 1] < q)
            ++j;
        const double dq = q - v[j];
        d[q] = dq * dq + f[v[j]];
    }
}

// The half-pixel grid: grid point (u, v) sits at picture position
// ((u - 2) / 2, (v - 2) / 2), so the ring of pixels just outside the picture
// has even grid coordinates too.
struct HalfGrid {
    int gw, gh;
    int index(int u, int v) const { return v * gw + u; }
    static int of(int x) { return 2 * x + 2; }
};

// Squared distances, in half pixels, from every grid point to the nearest wall pixel centre.
std::vector<double> wallDistances(const KeyMap& keys, const HalfGrid& g)
{
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> f(std::size_t(g.gw) * g.gh, inf);
    for (int v = 0; v < g.gh; v += 2)
        for (int u = 0; u < g.gw; u += 2) {
            const int x = u / 2 - 1, y = v / 2 - 1;
            if (!keys.contains(x, y) || !passable(keys.at(x, y)))
                f[g.index(u, v)] = 0;
        }
    const int n = std::max(g.gw, g.gh);
    std::vector<double> line(n), out(n), z(n + 1);
    std::vector<int> vtx(n);
    // Columns first, then rows.
    line.resize(g.gh);
    out.resize(g.gh);
    for (int u = 0; u < g.gw; ++u) {
        for (int v = 0; v < g.gh; ++v)
            line[v] = f[g.index(u, v)];
        distance1d(line, out, vtx, z);
        for (int v = 0; v < g.gh; ++v)
            f[g.index(u, v)] = out[v];
    }
    line.resize(g.gw);
    out.resize(g.gw);
    for (int v = 0; v < g.gh; ++v) {
        for (int u = 0; u < g.gw; ++u)
            line[u] = f[g.index(u, v)];
        distance1d(line, out, vtx, z);
        for (int u = 0; u < g.gw; ++u)
            f[g.index(u, v)] = out[u];
    }
    return f;
}

struct UnionFind {
    std::vector<int> parent;
    explicit UnionFind(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int a)
    {
        while (parent[a] != a) {
            parent[a] = parent[parent[a]];
            a = parent[a];
        }
        return a;
    }
    void unite(int a, int b) { parent[find(a)] = find(b); }
};

bool passableAt(const KeyMap& keys, QPoint p)
{
    return keys.contains(p.x(), p.y()) && passable(keys.at(p));
}

HalfGrid halfGridOf(const KeyMap& keys)
{
    return {2 * keys.width() + 3, 2 * keys.height() + 3};
}

// Local widths at the pixel centres, from the half-pixel distances.
std::vector<double> widthsAtPixels(const KeyMap& keys, const HalfGrid& g, const std::vector<double>& f)
{
    const int w = keys.width(), h = keys.height();
    std::vector<double> widths(std::size_t(w) * h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = f[std::size_t(g.index(HalfGrid::of(x), HalfGrid::of(y)))];
            if (d > 0)
                widths[std::size_t(y) * w + x] = std::sqrt(d) - 1.0;
        }
    return widths;
}

// Fills narrowest / narrowestAt of every connected goal.
void widestPaths(const KeyMap& keys, const HalfGrid& g, const std::vector<double>& f, const Spot& start,
                 const std::vector<Spot>& goalSpots, std::vector<PathMeasure>& goals)
{

    // Grid points by falling distance; squared half-pixel distances are whole numbers.
    long maxF = 0;
    for (double d : f)
        maxF = std::max(maxF, long(d));
    std::vector<int> bucketStart(std::size_t(maxF) + 2, 0);
    for (double d : f)
        if (d > 0)
            ++bucketStart[std::size_t(maxF - long(d)) + 1];
    std::partial_sum(bucketStart.begin(), bucketStart.end(), bucketStart.begin());
    std::vector<int> order(std::size_t(bucketStart.back()));
    for (int i = 0; i < int(f.size()); ++i)
        if (f[i] > 0)
            order[std::size_t(bucketStart[std::size_t(maxF - long(f[i]))]++)] = i;

    // Each spot is one extra set that its disc pixels join as they are added.
    const int startSet = int(f.size());
    std::vector<int> spotOfPoint(f.size(), -1); // -1 none, 0 start, 1 + k goal k
    // A disc pixel owns its centre and the edge and corner points around it,
    // so that a way running along pixel edges reaches the disc too.
    const auto mark = [&](const Spot& spot, int tag) {
        for (const QPoint& p : spot.pixels)
            if (passableAt(keys, p))
                for (int dv = -1; dv <= 1; ++dv)
                    for (int du = -1; du <= 1; ++du)
                        spotOfPoint[std::size_t(g.index(HalfGrid::of(p.x()) + du, HalfGrid::of(p.y()) + dv))] = tag;
    };
    for (std::size_t k = 0; k < goalSpots.size(); ++k)
        mark(goalSpots[k], 1 + int(k));
    mark(start, 0); // where a start and a goal disc overlap, the start wins

    UnionFind sets(f.size() + 1 + goalSpots.size());
    std::vector<std::uint8_t> added(f.size(), 0);
    int open = 0;
    for (const PathMeasure& m : goals)
        open += m.connected;
    std::vector<bool> done(goals.size(), false);
    for (int i : order) {
        if (open == 0)
            break;
        added[i] = 1;
        const int u = i % g.gw, v = i / g.gw;
        const int next[4] = {u > 0 ? i - 1 : -1, u + 1 < g.gw ? i + 1 : -1, v > 0 ? i - g.gw : -1,
                             v + 1 < g.gh ? i + g.gw : -1};
        for (int j : next)
            if (j >= 0 && added[j])
                sets.unite(i, j);
        if (spotOfPoint[i] >= 0)
            sets.unite(i, startSet + spotOfPoint[i]);
        for (std::size_t k = 0; k < goals.size(); ++k) {
            if (done[k] || !goals[k].connected || sets.find(startSet) != sets.find(startSet + 1 + int(k)))
                continue;
            done[k] = true;
            --open;
            goals[k].narrowest = std::sqrt(f[i]) - 1.0;
            goals[k].narrowestAt = {std::clamp((u - 2) / 2, 0, keys.width() - 1),
                                    std::clamp((v - 2) / 2, 0, keys.height() - 1)};
        }
    }
}

// The cost of every passable pixel from the whole start disc (Dijkstra,
// 8-connected, never cutting a wall corner), each step charged what
// stepCost(from, to, length) says; from[] leads back along the cheapest way.
struct Reach {
    std::vector<double> cost;
    std::vector<int> from;
};

template <typename StepCost>
Reach reachFromStart(const KeyMap& keys, const Spot& start, StepCost stepCost)
{
    const int w = keys.width();
    const std::size_t n = std::size_t(w) * keys.height();
    Reach r{std::vector<double>(n, std::numeric_limits<double>::infinity()), std::vector<int>(n, -1)};
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
    const auto open = [&](int x, int y) { return keys.contains(x, y) && passable(keys.at(x, y)); };
    for (const QPoint& p : start.pixels)
        if (open(p.x(), p.y())) {
            r.cost[std::size_t(p.y()) * w + p.x()] = 0;
            queue.push({0.0, p.y() * w + p.x()});
        }
    const double diagonal = std::sqrt(2.0);
    while (!queue.empty()) {
        const auto [c, i] = queue.top();
        queue.pop();
        if (c > r.cost[i])
            continue;
        const int x = i % w, y = i / w;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || !open(x + dx, y + dy))
                    continue;
                if (dx != 0 && dy != 0 && !(open(x + dx, y) && open(x, y + dy)))
                    continue;
                const int j = (y + dy) * w + (x + dx);
                const double nc = c + stepCost(i, j, dx != 0 && dy != 0 ? diagonal : 1.0);
                if (nc < r.cost[j]) {
                    r.cost[j] = nc;
                    r.from[j] = i;
                    queue.push({nc, j});
                }
            }
    }
    return r;
}

// The cheapest reached pixel of a goal disc, or -1 when none is passable.
int cheapestOf(const KeyMap& keys, const Reach& r, const Spot& goal)
{
    int best = -1;
    for (const QPoint& p : goal.pixels)
        if (keys.contains(p.x(), p.y()) && passable(keys.at(p.x(), p.y()))) {
            const int i = p.y() * keys.width() + p.x();
            if (best < 0 || r.cost[i] < r.cost[best])
                best = i;
        }
    return best;
}

// The length of the shortest way to every connected goal disc.
void shortestPaths(const KeyMap& keys, const Spot& start, const std::vector<Spot>& goalSpots,
                   std::vector<PathMeasure>& goals)
{
    const Reach r = reachFromStart(keys, start, [](int, int, double length) { return length; });
    for (std::size_t k = 0; k < goals.size(); ++k) {
        if (!goals[k].connected)
            continue;
        const int best = cheapestOf(keys, r, goalSpots[k]);
        goals[k].length = best < 0 ? std::numeric_limits<double>::infinity() : r.cost[best];
    }
}

// Each step charged its length over the local width: fills the difficulty,
// the way and its narrowest pixel for every connected goal.
void easiestPaths(const KeyMap& keys, const std::vector<double>& widths, const Spot& start,
                  const std::vector<Spot>& goalSpots, std::vector<PathMeasure>& goals)
{
    const Reach r = reachFromStart(keys, start, [&](int i, int j, double length) {
        return length * 0.5 * (1.0 / widths[i] + 1.0 / widths[j]);
    });
    const int w = keys.width();
    for (std::size_t k = 0; k < goals.size(); ++k) {
        if (!goals[k].connected)
            continue;
        const int best = cheapestOf(keys, r, goalSpots[k]);
        PathMeasure& m = goals[k];
        m.difficulty = r.cost[best];
        m.easiestNarrowest = std::numeric_limits<double>::infinity();
        for (int i = best; i >= 0; i = r.from[i]) {
            const QPoint p(i % w, i / w);
            m.easiestWay.push_back(p);
            if (widths[i] < m.easiestNarrowest) {
                m.easiestNarrowest = widths[i];
                m.easiestNarrowestAt = p;
            }
        }
        std::reverse(m.easiestWay.begin(), m.easiestWay.end());
    }
}

} // namespace

std::vector<double> pixelWidths(const KeyMap& keys)
{
    const HalfGrid g = halfGridOf(keys);
    return widthsAtPixels(keys, g, wallDistances(keys, g));
}

std::vector<PathMeasure> measurePaths(const KeyMap& keys, const Spot& start, const std::vector<Spot>& goalSpots)
{
    const std::vector<std::uint8_t> region = regionFrom(keys, start.pixels);
    std::vector<PathMeasure> goals;
    for (const Spot& spot : goalSpots) {
        PathMeasure m;
        m.goal = spot.centre;
        for (const QPoint& p : spot.pixels)
            m.connected |= keys.contains(p.x(), p.y()) && region[std::size_t(p.y()) * keys.width() + p.x()];
        goals.push_back(m);
    }
    if (std::none_of(goals.begin(), goals.end(), [](const PathMeasure& m) { return m.connected; }))
        return goals;
    shortestPaths(keys, start, goalSpots, goals);
    const HalfGrid g = halfGridOf(keys);
    const std::vector<double> f = wallDistances(keys, g);
    widestPaths(keys, g, f, start, goalSpots, goals);
    easiestPaths(keys, widthsAtPixels(keys, g, f), start, goalSpots, goals);
    return goals;
}

std::vector<PathMeasure> measureLevel(const KeyMap& keys, int level)
{
    const LevelFacts& facts = levelFacts(level);
    std::vector<Spot> goals;
    for (const QRect& g : facts.goals)
        goals.push_back(spotOf(g));
    return measurePaths(keys, spotOf(facts.start), goals);
}

} // namespace zw::check
