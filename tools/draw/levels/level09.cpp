// Level 9: a dense labyrinth of narrow corridors filling the window, with dead
// ends everywhere. It is grown by a depth-first walk with a fixed seed, so every
// run of the drawing tool paints the same labyrinth; a few dead ends are then
// opened into loops, which shortens the way through to about what the levels
// around it ask of the hand.

#include "draw/Pictures.h"

#include <random>
#include <vector>

namespace zw::art {

namespace {

constexpr int Corridor = 9; // path width in pixels
constexpr int Wall = 4;     // white between neighbouring corridors
constexpr int Pitch = Corridor + Wall;
constexpr int Cols = 47, Rows = 31;
// The grid is placed so that the rooms round the two discs fall on whole
// cells with each disc near the middle of its room.
constexpr int Left = 19;
constexpr int Top = 69;
constexpr unsigned Seed = 8;
constexpr double Loops = 0.22; // share of dead ends opened into loops

int cellX(int col) { return Left + col * Pitch; }
int cellY(int row) { return Top + row * Pitch; }

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
    while (cellX(r.col2) + Corridor - 1 < cx + reach)
        ++r.col2;
    r.row2 = r.row1;
    while (cellY(r.row2) + Corridor - 1 < cy + reach)
        ++r.row2;
    return r;
}

struct Labyrinth {
    // openEast[i] joins cell i to its right neighbour, openSouth[i] to the one below.
    std::vector<bool> openEast = std::vector<bool>(Cols * Rows, false);
    std::vector<bool> openSouth = std::vector<bool>(Cols * Rows, false);
};

// Depth-first growth: from the current cell step to a random unvisited
// neighbour, or back up when there is none. A room counts as one cell: entering
// any of its cells visits all of them, so the result stays a tree.
Labyrinth grow(const std::vector<Room>& rooms, int firstCol, int firstRow)
{
    Labyrinth maze;
    std::vector<bool> visited(Cols * Rows, false);
    std::vector<int> stack;
    auto visit = [&](int col, int row) {
        for (const Room& r : rooms)
            if (r.contains(col, row)) {
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
        switch (options[rng() % unsigned(count)]) {
        case 0: maze.openEast[cell - 1] = true; visit(col - 1, row); break;
        case 1: maze.openEast[cell] = true; visit(col + 1, row); break;
        case 2: maze.openSouth[cell - Cols] = true; visit(col, row - 1); break;
        default: maze.openSouth[cell] = true; visit(col, row + 1); break;
        }
    }
    return maze;
}

// Opens one more wall at some of the dead ends (a share of them, picked with
// the same fixed seed), so the labyrinth gains loops and the way from start
// to goal gets shorter, while most dead ends stay.
void braid(Labyrinth& maze, const std::vector<Room>& rooms, double share)
{
    std::mt19937 rng(Seed + 1);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    const auto inRoom = [&](int col, int row) {
        for (const Room& r : rooms)
            if (r.contains(col, row))
                return true;
        return false;
    };
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col) {
            const int cell = row * Cols + col;
            if (inRoom(col, row))
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
            const double roll = chance(rng);
            if (opened != 1 || count == 0 || roll >= share)
                continue;
            switch (closed[rng() % unsigned(count)]) {
            case 0: maze.openEast[cell - 1] = true; break;
            case 1: maze.openEast[cell] = true; break;
            case 2: maze.openSouth[cell - Cols] = true; break;
            default: maze.openSouth[cell] = true; break;
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
    braid(maze, rooms, Loops);

    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col) {
            const int x = cellX(col), y = cellY(row), i = row * Cols + col;
            c.rect(x, y, x + Corridor - 1, y + Corridor - 1, Black);
            if (maze.openEast[i])
                c.rect(x + Corridor, y, x + Pitch - 1, y + Corridor - 1, Black);
            if (maze.openSouth[i])
                c.rect(x, y + Corridor, x + Corridor - 1, y + Pitch - 1, Black);
        }
    for (const Room& r : rooms)
        c.rect(cellX(r.col1), cellY(r.row1), cellX(r.col2) + Corridor - 1, cellY(r.row2) + Corridor - 1, Black);

    drawStart(c, 557, 373, 25);
    drawGoal(c, 214, 178, 25);
    return c;
}

} // namespace zw::art
