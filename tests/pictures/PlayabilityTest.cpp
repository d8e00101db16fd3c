// Width and length of the way through small hand-made mazes whose answers
// are known by construction.

#include "Fixtures.h"

#include "check/Playability.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zw::check {
namespace {

using namespace zw::fixtures;

// A white field with black drawn in; spots are single columns of the maze,
// set back from the dead ends so that only the corridor's width counts.
struct Maze {
    QImage img;
    explicit Maze(int w = 120, int h = 60) : img(w, h, QImage::Format_RGB32) { img.fill(fixtures::white); }
    void black(const QRect& r) { fill(img, r, fixtures::black); }
    void white(const QRect& r) { fill(img, r, fixtures::white); }
};

Spot column(int x, int y1, int y2)
{
    Spot s;
    s.centre = {x, (y1 + y2) / 2};
    for (int y = y1; y <= y2; ++y)
        s.pixels.emplace_back(x, y);
    return s;
}

// A straight corridor k pixels wide along x or y measures exactly k, for odd
// and even k alike, and its length is the distance between its ends.
TEST(Playability, StraightCorridorMeasuresItsWidth)
{
    for (int k : {1, 2, 3, 4, 5, 8, 13}) {
        Maze along;
        along.black(box(10, 20, 109, 20 + k - 1));
        const auto m = measurePaths(KeyMap(along.img), column(30, 20, 20 + k - 1), {column(89, 20, 20 + k - 1)});
        ASSERT_TRUE(m[0].connected) << k;
        EXPECT_DOUBLE_EQ(m[0].narrowest, k) << "horizontal, width " << k;
        EXPECT_DOUBLE_EQ(m[0].length, 59.0) << k;

        Maze down(60, 120);
        down.black(box(20, 10, 20 + k - 1, 109));
        Spot top, bottom;
        for (int x = 20; x < 20 + k; ++x) {
            top.pixels.emplace_back(x, 30);
            bottom.pixels.emplace_back(x, 89);
        }
        EXPECT_DOUBLE_EQ(measurePaths(KeyMap(down.img), top, {bottom})[0].narrowest, k) << "vertical, width " << k;
    }
}

// The narrowest place is found where it is, and reported as its width.
TEST(Playability, NeckIsTheNarrowestPlace)
{
    Maze m;
    m.black(box(10, 10, 109, 49));
    m.white(box(60, 10, 62, 49));
    m.black(box(60, 28, 62, 33)); // a 6-pixel neck
    const auto r = measurePaths(KeyMap(m.img), column(30, 10, 49), {column(89, 10, 49)});
    EXPECT_DOUBLE_EQ(r[0].narrowest, 6.0);
    EXPECT_TRUE(box(59, 27, 63, 34).contains(r[0].narrowestAt)) << r[0].narrowestAt.x() << "," << r[0].narrowestAt.y();
}

// Two ways: a short one through a 2-pixel slit and a long one 9 pixels wide.
// The widest path takes the long way; the shortest path the slit.
TEST(Playability, WidestAndShortestPathsMayDiffer)
{
    Maze m(200, 100);
    m.black(box(10, 40, 189, 48));  // the straight way, 9 wide
    m.white(box(100, 40, 101, 48)); // ... cut by a wall
    m.black(box(100, 44, 101, 45)); // ... with a 2-pixel slit
    m.black(box(60, 40, 68, 90));   // a detour down, along and up, 9 wide
    m.black(box(60, 82, 140, 90));
    m.black(box(132, 40, 140, 90));
    const auto r = measurePaths(KeyMap(m.img), column(30, 40, 48), {column(170, 40, 48)});
    ASSERT_TRUE(r[0].connected);
    EXPECT_DOUBLE_EQ(r[0].narrowest, 9.0);
    EXPECT_DOUBLE_EQ(r[0].length, 140.0);
}

TEST(Playability, DiagonalTouchDoesNotConnect)
{
    Maze m;
    m.black(box(10, 10, 49, 29));
    m.black(box(50, 30, 109, 49)); // meets the first block only at a corner
    const auto r = measurePaths(KeyMap(m.img), column(10, 10, 29), {column(109, 30, 49)});
    EXPECT_FALSE(r[0].connected);
}

// Discs are passable, and the picture's edge is a wall.
TEST(Playability, DiscsPassAndPictureEdgeIsWall)
{
    Maze m;
    m.black(box(0, 0, 119, 5)); // a 6-pixel band along the top edge
    fill(m.img, box(50, 0, 55, 5), red);
    const auto r = measurePaths(KeyMap(m.img), column(20, 0, 5), {column(100, 0, 5)});
    ASSERT_TRUE(r[0].connected);
    EXPECT_DOUBLE_EQ(r[0].narrowest, 6.0);
}

TEST(Playability, EachGoalMeasuredOnItsOwn)
{
    Maze m(200, 60);
    m.black(box(10, 10, 189, 29)); // 20 wide to the right-hand goal
    m.black(box(90, 30, 93, 59));  // a 4-wide branch down to the other
    const Spot below{{91, 50}, {{90, 50}, {91, 50}, {92, 50}, {93, 50}}};
    const auto r = measurePaths(KeyMap(m.img), column(30, 10, 29), {column(170, 10, 29), below});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_DOUBLE_EQ(r[0].narrowest, 20.0);
    EXPECT_DOUBLE_EQ(r[1].narrowest, 4.0);
    EXPECT_TRUE(r[1].connected);
}

TEST(Playability, WidthText)
{
    EXPECT_EQ(widthText(4.0), QStringLiteral("4"));
    EXPECT_EQ(widthText(std::sqrt(20.0) - 1.0), QStringLiteral("3.4")); // 3.47, rounded down
    EXPECT_EQ(widthText(3.99), QStringLiteral("3.9"));
    EXPECT_EQ(widthText(-1.0), QStringLiteral("-1"));
}

} // namespace
} // namespace zw::check
