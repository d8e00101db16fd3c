// Level 16: a narrow, wiggly path. The goal lies just beside the start, but
// the way between them visits the whole window: the path runs round every
// branch of a hidden tree that fills the window, like a finger tracing the
// outline of a coral. The short way between start and goal is cut out.
// The corridor is about twelve pixels wide and ripples all along: a long way
// that asks for a steady hand without leaving it no slack at all.

#include "draw/Pictures.h"
#include "draw/levels/artCShapes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <random>

namespace zw::art {

namespace {

// The tree lives on a coarse grid; the path visits every cell of a grid twice
// as fine, going round the tree.
constexpr int TreeCols = 5, TreeRows = 4;
constexpr int Cols = 2 * TreeCols, Rows = 2 * TreeRows;

// The start spot sits in the fine cell (0, 2) and the goal in (2, 2): both at
// the top of the two tree cells (0, 1) and (1, 1).
constexpr int StartCol = 0, GoalCol = 2, SpotRow = 2;

double columnX(int col)
{
    // Start and goal columns fall exactly on the discs; the rest share the
    // remaining width evenly.
    return col <= GoalCol ? 53.0 + col * (165.0 - 53.0) / GoalCol
                          : 165.0 + (col - GoalCol) * (605.0 - 165.0) / (Cols - 1 - GoalCol);
}

double rowY(int row)
{
    // The spots' row falls on the discs; the rows above and below it share
    // the height from y 70 to 440 evenly on their side.
    constexpr double Spot = 185.5, Top = 70.0, Bottom = 440.0;
    return row <= SpotRow ? Spot - (SpotRow - row) * (Spot - Top) / SpotRow
                          : Spot + (row - SpotRow) * (Bottom - Spot) / (Rows - 1 - SpotRow);
}

struct Edge {
    int a, b; // tree cells as col + row * TreeCols
};

// A random spanning tree of the coarse grid (Kruskal over shuffled edges).
// The generator and the shuffle are spelled out so the picture is the same
// with every compiler. The two tree cells at the spots are joined, and
// neither has a branch upwards, so the path runs straight along the top of
// both from start to goal: that stretch is the one cut out.
std::vector<Edge> spanningTree(std::uint32_t seed)
{
    std::vector<Edge> edges;
    for (int r = 0; r < TreeRows; ++r)
        for (int c = 0; c < TreeCols; ++c) {
            const int here = c + r * TreeCols;
            if (c + 1 < TreeCols)
                edges.push_back({here, here + 1});
            if (r + 1 < TreeRows && !(r == 0 && c <= 1))
                edges.push_back({here, here + TreeCols});
        }
    std::mt19937 random(seed);
    for (size_t i = edges.size() - 1; i > 0; --i)
        std::swap(edges[i], edges[random() % (i + 1)]);

    std::vector<int> parent(TreeCols * TreeRows);
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int x) {
        while (parent[x] != x)
            x = parent[x] = parent[parent[x]];
        return x;
    };
    std::vector<Edge> tree{{0 + 1 * TreeCols, 1 + 1 * TreeCols}};
    parent[root(0 + 1 * TreeCols)] = root(1 + 1 * TreeCols);
    for (const Edge& e : edges)
        if (root(e.a) != root(e.b)) {
            parent[root(e.a)] = root(e.b);
            tree.push_back(e);
        }
    return tree;
}

// The cycle round the tree: every fine cell has exactly two neighbours.
// Inside a tree cell the four fine cells are linked along each side that has
// no branch; a branch links the fine cells on both sides of it instead.
std::vector<QPoint> cycleAround(const std::vector<Edge>& tree)
{
    std::vector<std::vector<QPoint>> links(Cols * Rows);
    const auto link = [&](QPoint p, QPoint q) {
        links[p.x() + p.y() * Cols].push_back(q);
        links[q.x() + q.y() * Cols].push_back(p);
    };
    std::vector<std::array<bool, 4>> branch(TreeCols * TreeRows, {false, false, false, false}); // right, down, left, up
    for (const Edge& e : tree) {
        const bool across = e.b == e.a + 1;
        branch[e.a][across ? 0 : 1] = true;
        branch[e.b][across ? 2 : 3] = true;
    }
    for (int r = 0; r < TreeRows; ++r)
        for (int c = 0; c < TreeCols; ++c) {
            const auto& b = branch[c + r * TreeCols];
            const int x = 2 * c, y = 2 * r;
            if (!b[3]) link({x, y}, {x + 1, y});
            if (!b[1]) link({x, y + 1}, {x + 1, y + 1});
            if (!b[2]) link({x, y}, {x, y + 1});
            if (!b[0]) link({x + 1, y}, {x + 1, y + 1});
            if (b[0]) {
                link({x + 1, y}, {x + 2, y});
                link({x + 1, y + 1}, {x + 2, y + 1});
            }
            if (b[1]) {
                link({x, y + 1}, {x, y + 2});
                link({x + 1, y + 1}, {x + 1, y + 2});
            }
        }
    // Walk from the start cell away from the goal side, all the way round.
    std::vector<QPoint> cycle{{StartCol, SpotRow}};
    QPoint previous(StartCol + 1, SpotRow), here(StartCol, SpotRow);
    while (true) {
        const auto& next = links[here.x() + here.y() * Cols];
        const QPoint step = next[0] == previous ? next[1] : next[0];
        if (step == QPoint(StartCol, SpotRow))
            break;
        cycle.push_back(step);
        previous = here;
        here = step;
    }
    return cycle;
}

} // namespace

Canvas drawLevel16()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 16);

    // The cycle ends with the short stretch back to the start along the
    // top of the spots' tree cells; dropping it leaves the long way.
    std::vector<QPoint> cells = cycleAround(spanningTree(13));
    while (cells.back() != QPoint(GoalCol, SpotRow))
        cells.pop_back();

    std::vector<QPointF> line;
    line.emplace_back(53, 180);
    for (const QPoint& cell : cells)
        line.emplace_back(columnX(cell.x()), rowY(cell.y()));
    line.back() = QPointF(165, 191);
    // A small ripple on top makes the line wiggle all along, not only at its turns.
    const auto ripple = [](double s, double total) {
        return 4.5 * std::min({1.0, s / 30.0, (total - s) / 30.0});
    };
    const std::vector<QPointF> path = waved(smoothed(line, 3), 32, ripple);
    c.stroke(path, 12, Black);

    c.ellipse(53 - 15, 180 - 15, 53 + 15, 180 + 15, Black);
    c.ellipse(165 - 15, 191 - 15, 165 + 15, 191 + 15, Black);
    // One dark grey speck on the path's upper edge, a third of the way along:
    // it means nothing to the game, and a careful player learns that only
    // white hurts.
    const QPoint speck = path[path.size() / 3].toPoint();
    int top = speck.y();
    while (c.image().pixel(speck.x(), top - 1) == Black.rgb())
        --top;
    c.pixel(speck.x(), top, QColor(51, 51, 51));

    drawSpots(c, 16);
    return c;
}

} // namespace zw::art
