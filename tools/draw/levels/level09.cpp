// Level 9: a dense labyrinth of narrow corridors filling a rectangle, with
// dead ends everywhere. It is grown by a depth-first walk and then a share of
// its dead ends is opened into loops, which shortens the way through to about
// what the levels around it ask of the hand.
//
// Both steps roll their dice with std::mt19937 and a fixed seed, scaled by
// plain integer arithmetic on its 32-bit output: the standard fixes every
// number that engine gives, so the labyrinth is the same with every compiler
// and standard library (the library's distributions are not used, as their
// results differ between libraries).
//
// Opening a wall to make a loop cuts a piece of wall off from the rest. A
// wall is only opened if every piece cut off that way keeps at least
// MinIsland wall lengths: no lone posts standing in the corridors like specks,
// no short loose stubs.

#include "draw/Pictures.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace zw::art {

namespace {

constexpr int PathWidth = 9; // in pixels
constexpr int Wall = 4;     // white between neighbouring corridors
constexpr int Pitch = PathWidth + Wall;
constexpr int Cols = 47, Rows = 31;
// The grid is placed so that the rooms round the two discs fall on whole
// cells with each disc near the middle of its room.
constexpr int Left = 19;
constexpr int GridTop = 69;
constexpr std::uint32_t Seed = 8;
constexpr unsigned LoopPercent = 22; // share of dead ends opened into loops
constexpr int MinIsland = 6;         // wall lengths a cut-off piece of wall keeps at least

int cellX(int col) { return Left + col * Pitch; }
int cellY(int row) { return GridTop + row * Pitch; }

// A whole number in [0, n) from one draw of the engine.
unsigned roll(std::mt19937& rng, unsigned n) { return unsigned(rng() % n); }

// A block of cells cleared into one room, big enough to hold a disc of the
// given radius with a margin of path around it.
struct Room {
    int col1, row1, col2, row2;
    bool contains(int col, int row) const { return col >= col1 && col <= col2 && row >= row1 && row <= row2; }
};

Room roomAround(int cx, int cy, int reach)
{
    Room r{0, 0, Cols - 1, Rows - 1};
    while (r.col1 + 1 < Cols && cellX(r.col1 + 1) <= cx - reach)
        ++r.col1;
    while (r.row1 + 1 < Rows && cellY(r.row1 + 1) <= cy - reach)
        ++r.row1;
    r.col2 = r.col1;
    while (cellX(r.col2) + PathWidth - 1 < cx + reach)
        ++r.col2;
    r.row2 = r.row1;
    while (cellY(r.row2) + PathWidth - 1 < cy + reach)
        ++r.row2;
    return r;
}

struct Labyrinth {
    // openEast[i] joins cell i to its right neighbour, openSouth[i] to the one below.
    std::vector<bool> openEast = std::vector<bool>(Cols * Rows, false);
    std::vector<bool> openSouth = std::vector<bool>(Cols * Rows, false);
};

int roomOf(const std::vector<Room>& rooms, int col, int row)
{
    for (std::size_t k = 0; k < rooms.size(); ++k)
        if (rooms[k].contains(col, row))
            return int(k);
    return -1;
}

// Depth-first growth: from the current cell step to a random unvisited
// neighbour, or back up when there is none. A room counts as one cell: entering
// any of its cells visits all of them, so the result stays a tree.
Labyrinth grow(const std::vector<Room>& rooms, int firstCol, int firstRow)
{
    Labyrinth maze;
    std::vector<bool> visited(Cols * Rows, false);
    std::vector<int> stack;
    auto visit = [&](int col, int row) {
        const int k = roomOf(rooms, col, row);
        if (k >= 0) {
            const Room& r = rooms[std::size_t(k)];
            for (int rr = r.row1; rr <= r.row2; ++rr)
                for (int cc = r.col1; cc <= r.col2; ++cc) {
                    visited[rr * Cols + cc] = true;
                    stack.push_back(rr * Cols + cc);
                }
            return;
        }
        visited[row * Cols + col] = true;
        stack.push_back(row * Cols + col);
    };
    std::mt19937 rng(Seed);
    visit(firstCol, firstRow);
    while (!stack.empty()) {
        const int cell = stack.back();
        const int col = cell % Cols, row = cell / Cols;
        int options[4], count = 0;
        if (col > 0 && !visited[cell - 1])
            options[count++] = 0;
        if (col + 1 < Cols && !visited[cell + 1])
            options[count++] = 1;
        if (row > 0 && !visited[cell - Cols])
            options[count++] = 2;
        if (row + 1 < Rows && !visited[cell + Cols])
            options[count++] = 3;
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        switch (options[roll(rng, unsigned(count))]) {
        case 0: maze.openEast[cell - 1] = true; visit(col - 1, row); break;
        case 1: maze.openEast[cell] = true; visit(col + 1, row); break;
        case 2: maze.openSouth[cell - Cols] = true; visit(col, row - 1); break;
        default: maze.openSouth[cell] = true; visit(col, row + 1); break;
        }
    }
    return maze;
}

// The white between the corridors seen as a net: posts at the corners of the
// cells, (Cols + 1) x (Rows + 1) of them, joined by the wall lengths that
// still stand. The rectangle's rim is one wall all round; walls and posts
// inside a room are cleared with it.
class WallNet {
public:
    WallNet(const Labyrinth& maze, const std::vector<Room>& rooms) : maze_(maze), rooms_(rooms) {}

    // The number of wall lengths in the piece of wall that holds post (px, py),
    // or -1 if that piece reaches the rim.
    int pieceSize(int px, int py) const
    {
        std::vector<bool> seen(std::size_t((Cols + 1) * (Rows + 1)), false);
        std::vector<int> todo{py * (Cols + 1) + px};
        seen[std::size_t(todo.back())] = true;
        int lengths = 0;
        while (!todo.empty()) {
            const int p = todo.back();
            todo.pop_back();
            const int x = p % (Cols + 1), y = p / (Cols + 1);
            if (x == 0 || y == 0 || x == Cols || y == Rows)
                return -1;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (!stands(x, y, n[0], n[1]))
                    continue;
                ++lengths; // every length is counted from both its posts
                const int q = n[1] * (Cols + 1) + n[0];
                if (!seen[std::size_t(q)]) {
                    seen[std::size_t(q)] = true;
                    todo.push_back(q);
                }
            }
        }
        return lengths / 2;
    }

private:
    // Whether the wall length between neighbouring posts a and b stands.
    bool stands(int ax, int ay, int bx, int by) const
    {
        if (ay == by) { // a horizontal length: between the cells above and below it
            const int col = std::min(ax, bx), row = ay;
            return row > 0 && row < Rows && closed(col, row - 1, col, row);
        }
        const int col = ax, row = std::min(ay, by); // a vertical length: cells left and right
        return col > 0 && col < Cols && closed(col - 1, row, col, row);
    }

    bool closed(int c1, int r1, int c2, int r2) const
    {
        const int k = roomOf(rooms_, c1, r1);
        if (k >= 0 && k == roomOf(rooms_, c2, r2))
            return false;
        const int i = r1 * Cols + c1;
        return c1 == c2 ? !maze_.openSouth[i] : !maze_.openEast[i];
    }

    const Labyrinth& maze_;
    const std::vector<Room>& rooms_;
};

// Opens one more wall at some of the dead ends (a share of them, picked with
// the engine on its own fixed seed), so the labyrinth gains loops and the way
// from start to goal gets shorter, while most dead ends stay. A wall is left
// standing if opening it would cut off a piece of wall shorter than MinIsland.
void braid(Labyrinth& maze, const std::vector<Room>& rooms, unsigned percent)
{
    std::mt19937 rng(Seed + 1);
    const WallNet net(maze, rooms);
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col) {
            const int cell = row * Cols + col;
            if (roomOf(rooms, col, row) >= 0)
                continue;
            // The walls of this cell: west, east, north, south; open or closed.
            const bool has[4] = {col > 0, col + 1 < Cols, row > 0, row + 1 < Rows};
            const bool open[4] = {has[0] && maze.openEast[cell - 1], has[1] && maze.openEast[cell],
                                  has[2] && maze.openSouth[cell - Cols], has[3] && maze.openSouth[cell]};
            int closed[4], count = 0, opened = 0;
            for (int k = 0; k < 4; ++k) {
                opened += open[k];
                if (has[k] && !open[k])
                    closed[count++] = k;
            }
            const bool chosen = roll(rng, 100) < percent;
            if (opened != 1 || count == 0 || !chosen)
                continue;
            // Try the closed walls from a random one on, and open the first
            // whose opening leaves no short piece of wall behind.
            const unsigned first = roll(rng, unsigned(count));
            for (int t = 0; t < count; ++t) {
                const int side = closed[(first + unsigned(t)) % unsigned(count)];
                std::vector<bool>::reference wall = side == 0 ? maze.openEast[cell - 1]
                                                  : side == 1 ? maze.openEast[cell]
                                                  : side == 2 ? maze.openSouth[cell - Cols]
                                                              : maze.openSouth[cell];
                // The posts at the two ends of that wall.
                int p1x, p1y, p2x, p2y;
                if (side < 2) {
                    p1x = p2x = col + side;
                    p1y = row;
                    p2y = row + 1;
                }
                else {
                    p1y = p2y = row + (side - 2);
                    p1x = col;
                    p2x = col + 1;
                }
                wall = true;
                const int a = net.pieceSize(p1x, p1y), b = net.pieceSize(p2x, p2y);
                if ((a < 0 || a >= MinIsland) && (b < 0 || b >= MinIsland))
                    break;
                wall = false;
            }
        }
}

} // namespace

Canvas drawLevel09()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 9);

    // Rooms around the two discs: radius 12 plus a margin of path.
    const std::vector<Room> rooms = {roomAround(569, 385, 15), roomAround(226, 190, 15)};
    Labyrinth maze = grow(rooms, rooms[0].col1, rooms[0].row1);
    braid(maze, rooms, LoopPercent);

    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col) {
            const int x = cellX(col), y = cellY(row), i = row * Cols + col;
            c.rect(x, y, x + PathWidth - 1, y + PathWidth - 1, Black);
            if (maze.openEast[i])
                c.rect(x + PathWidth, y, x + Pitch - 1, y + PathWidth - 1, Black);
            if (maze.openSouth[i])
                c.rect(x, y + PathWidth, x + PathWidth - 1, y + Pitch - 1, Black);
        }
    for (const Room& r : rooms)
        c.rect(cellX(r.col1), cellY(r.row1), cellX(r.col2) + PathWidth - 1, cellY(r.row2) + PathWidth - 1, Black);

    drawSpots(c, 9);
    return c;
}

} // namespace zw::art
