// Level 18: three rings woven into each other. Each ring is a ribbon, two
// black lanes with a white stripe between them. Every crossing is drawn by
// the same rule: one ribbon runs over the other unbroken, and the lanes of
// the ribbon below end on its lanes from both sides, so that the path may
// turn there onto the near lane of the upper ring but never crosses its white
// stripe. The left ring lies over the right one, the right one over the
// bottom one and the bottom one over the left one, like three rings that
// hold together although no two of them are linked.
//
// Gaps in the lanes make the maze. Below the start and below the goal the
// whole ribbon is cut; everywhere else single lanes are. The way from the
// start on the left ring to the goal on the right one has to be followed
// round most of all three rings, about half of all the lane there is,
// turning at the right crossings; the other turns end at gaps.
//
// The lanes are drawn pixel by pixel from their circles, so every lane end
// is a clean round cap and every lane of a lower ribbon stops flush on a
// lane of the upper one; the lone pixels a round end leaves on the grid go
// with the other curvy levels' last touch.

#include "draw/Pictures.h"
#include "draw/levels/MendEdges.h"

#include <array>
#include <cmath>
#include <numbers>

namespace zw::art {

namespace {

struct Ring {
    double x, y, r;
};

// Left and right rings side by side, the third below between them. The
// start disc sits on the left ring's circle, the goal disc on the right one's.
constexpr std::array<Ring, 3> Rings{{{259, 205, 137.8}, {412, 205, 138.0}, {335.5, 332, 132}}};
constexpr int Left = 0, Right = 1, Bottom = 2;
// Above[i]: the ring that lies over ring i wherever the two cross.
constexpr std::array<int, 3> Above{Bottom, Left, Right};

constexpr double Lane = 8;         // distance of each lane's middle from the ring's circle
constexpr double HalfWidth = 3.8;  // of a lane: 7 to 8 pixels across, never narrower than 6
constexpr double GapLength = 10;   // white between the two round lane ends of a gap
constexpr double JoinRadius = 15.5; // black disc joining both lanes under the start and goal

struct Gap {
    int ring;
    int side; // -1 inner lane, +1 outer lane
    double degree; // middle of the gap (screen angles: 0 to the right, 90 downwards)
};

// Each in the middle of a stretch of lane between two crossings (or a
// crossing and the start or goal disc), so that no piece of lane is cut off
// and every dead end is a stub long enough to see.
constexpr std::array<Gap, 15> Gaps{{
    {Left, -1, 30.2},    {Left, -1, 156.3},   {Left, -1, 332.5},   {Left, +1, 83.6},
    {Left, +1, 156.3},   {Left, +1, 248.4},   {Right, -1, 207.5},  {Right, -1, 292.9},
    {Right, -1, 23.6},   {Right, +1, 96.5},   {Right, +1, 149.8},  {Right, +1, 23.6},
    {Bottom, -1, 209.9}, {Bottom, -1, 330.1}, {Bottom, +1, 270.0},
}};

constexpr QPoint StartCentre{126, 169}, GoalCentre{545, 168};

double degreesOf(double dx, double dy)
{
    const double a = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    return a < 0 ? a + 360.0 : a;
}

// Signed difference a - b in degrees, within -180..180.
double degreesBetween(double a, double b)
{
    return std::fmod(a - b + 540.0, 360.0) - 180.0;
}

// Whether the pixel centre (x, y) lies on the given lane of ring k, gaps and
// the upper ribbon's stripe left out.
bool onLane(int k, int side, double x, double y)
{
    const Ring& ring = Rings[std::size_t(k)];
    const double radius = ring.r + side * Lane;
    const double dx = x - ring.x, dy = y - ring.y;
    bool on = std::abs(std::hypot(dx, dy) - radius) <= HalfWidth;
    const double at = degreesOf(dx, dy);
    for (const Gap& g : Gaps) {
        if (g.ring != k || g.side != side)
            continue;
        // Half the gap in degrees, measured to the centres of the round ends.
        const double half = (GapLength / 2 + HalfWidth) / radius * 180.0 / std::numbers::pi;
        if (std::abs(degreesBetween(at, g.degree)) < half)
            on = false;
        for (double end : {g.degree - half, g.degree + half}) {
            const double e = end * std::numbers::pi / 180.0;
            if (std::hypot(x - (ring.x + radius * std::cos(e)), y - (ring.y + radius * std::sin(e))) <= HalfWidth)
                on = true;
        }
    }
    if (!on)
        return false;
    // Under the upper ribbon the lane stops on its lanes, clear of its stripe.
    const Ring& upper = Rings[std::size_t(Above[std::size_t(k)])];
    return std::abs(std::hypot(x - upper.x, y - upper.y) - upper.r) >= Lane - HalfWidth;
}

bool black(int x, int y)
{
    for (QPoint p : {StartCentre, GoalCentre})
        if (std::hypot(x - p.x(), y - p.y()) <= JoinRadius)
            return true;
    for (int k = 0; k < 3; ++k)
        for (int side : {-1, +1})
            if (onLane(k, side, x, y))
                return true;
    return false;
}

// The rows and columns the rings are drawn in.
constexpr int Width = 640, Height = 480, Top = 50;

} // namespace

Canvas drawLevel18()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 18);

    // The rings stay below the badge (row 48) and inside the picture.
    for (int y = Top; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if (black(x, y))
                c.pixel(x, y, Black);
    mendEdges(c);

    drawSpots(c, 18);
    return c;
}

} // namespace zw::art
