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
    // Each goal has its own easiest way: the branch's middle pixels are 3 wide.
    EXPECT_DOUBLE_EQ(r[0].easiestNarrowest, 19.0);
    EXPECT_DOUBLE_EQ(r[1].easiestNarrowest, 3.0);
    EXPECT_LT(r[0].difficulty, r[1].difficulty);
    EXPECT_EQ(r[1].easiestWay.back(), QPoint(91, 50));
}

// Along the middle of a straight corridor the difficulty is its length over
// its width: the width at a pixel centre is 2 * distance to the nearest wall
// centre - 1, which is k for an odd width k and k - 1 for an even one.
TEST(Playability, StraightCorridorDifficultyIsLengthOverWidth)
{
    const struct {
        int corridor;
        double width; // at the middle pixels
    } cases[] = {{1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 5}, {9, 9}, {12, 11}, {25, 25}};
    for (const auto& c : cases) {
        Maze m(160, 60);
        m.black(box(10, 10, 149, 10 + c.corridor - 1));
        const Spot start = column(30, 10, 10 + c.corridor - 1), goal = column(120, 10, 10 + c.corridor - 1);
        const auto r = measurePaths(KeyMap(m.img), start, {goal});
        ASSERT_TRUE(r[0].connected) << c.corridor;
        EXPECT_NEAR(r[0].difficulty, 90.0 / c.width, 1e-9) << "corridor " << c.corridor;
        EXPECT_DOUBLE_EQ(r[0].easiestNarrowest, c.width) << c.corridor;
        // The way runs from the start column to the goal column in 90 unit steps.
        ASSERT_EQ(r[0].easiestWay.size(), 91u) << c.corridor;
        EXPECT_EQ(r[0].easiestWay.front().x(), 30);
        EXPECT_EQ(r[0].easiestWay.back().x(), 120);
    }
}

// The same corridor of width 9 bent once at a right angle, 60 + 60 pixels
// along its middle: the bend is wider than the arms, so the difficulty stays
// within the arms' 120 / 9, less what the way saves by cutting the corner.
TEST(Playability, BentCorridorCostsAboutItsLengthOverWidth)
{
    Maze m(140, 140);
    m.black(box(10, 10, 89, 18));
    m.black(box(81, 10, 89, 129));
    Spot start = column(20, 10, 18), goal;
    for (int x = 81; x <= 89; ++x)
        goal.pixels.emplace_back(x, 119);
    const auto r = measurePaths(KeyMap(m.img), start, {goal});
    ASSERT_TRUE(r[0].connected);
    EXPECT_LE(r[0].difficulty, (65.0 + 105.0) / 9.0 + 1e-9);
    EXPECT_GT(r[0].difficulty, (65.0 + 105.0) / 9.0 - 3.0);
    // Every step of the way is one of the eight neighbours.
    for (std::size_t i = 1; i < r[0].easiestWay.size(); ++i) {
        const QPoint d = r[0].easiestWay[i] - r[0].easiestWay[i - 1];
        EXPECT_TRUE(std::abs(d.x()) <= 1 && std::abs(d.y()) <= 1 && d != QPoint(0, 0)) << i;
    }
}

// Two ways between the same discs: straight through a one-pixel slit of some
// length, or around it along a 9-wide detour. A short slit is quickly
// threaded; a long one costs more than the detour, and the way goes around.
TEST(Playability, EasiestWayWeighsLengthAgainstWidth)
{
    const struct {
        int slit;          // length of the one-pixel slit
        double narrowest;  // on the easiest way
    } cases[] = {{1, 1}, {3, 1}, {40, 9}, {80, 9}};
    for (const auto& c : cases) {
        Maze m(240, 120);
        m.black(box(10, 40, 229, 48));                      // the straight way, 9 wide
        m.white(box(120 - c.slit / 2, 40, 120 - c.slit / 2 + c.slit - 1, 48)); // cut by a wall
        m.black(box(120 - c.slit / 2, 44, 120 - c.slit / 2 + c.slit - 1, 44)); // ... with a slit
        m.black(box(20, 40, 28, 110));                      // a detour down, along and up, 9 wide
        m.black(box(20, 102, 220, 110));
        m.black(box(212, 40, 220, 110));
        const auto r = measurePaths(KeyMap(m.img), column(15, 40, 48), {column(225, 40, 48)});
        ASSERT_TRUE(r[0].connected) << c.slit;
        EXPECT_DOUBLE_EQ(r[0].easiestNarrowest, c.narrowest) << "slit " << c.slit;
        // The widest path takes the detour whatever the slit; the way never is wider than it.
        EXPECT_DOUBLE_EQ(r[0].narrowest, 9.0) << c.slit;
        EXPECT_LE(r[0].easiestNarrowest, r[0].narrowest) << c.slit;
    }
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
