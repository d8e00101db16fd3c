#pragma once
// How hard a maze is to walk: the black region the player moves in, the
// length of the shortest way from start to goal, and how narrow the way gets.
//
// Passable pixels are black and the two discs (the run starts on red and ends
// on green); everything else, and everything outside the picture, is wall.

#include "check/KeyColour.h"

#include <QPoint>
#include <QRect>
#include <vector>

namespace zw::check {

bool passable(Key k);

// Pixels 4-connected to any of `seeds` through passable pixels (1 = in the
// region); seeds that are not passable themselves are left out.
std::vector<std::uint8_t> regionFrom(const KeyMap& keys, const std::vector<QPoint>& seeds);

// A start or goal spot: a run starts on any pixel of the red disc and is won
// on any pixel of a green one, so ways are measured from disc to disc.
struct Spot {
    QPoint centre;             // named in messages
    std::vector<QPoint> pixels; // the disc as it should be
};
Spot spotOf(const QRect& box);

struct PathMeasure {
    QPoint goal;              // centre pixel of the goal disc
    bool connected = false;   // goal reachable from the start, 4-connected
    // Shortest way from the start disc to the goal disc in pixels: 8-connected
    // steps, straight ones 1 and diagonal ones sqrt(2), a diagonal step only
    // between two passable pixels so that it never cuts a wall's corner.
    double length = 0;
    // Over all ways from start to goal, the widest one's narrowest point (see
    // Playability.cpp for how width is measured), and a pixel at that point.
    double narrowest = 0;
    QPoint narrowestAt{-1, -1};
    // Steering difficulty: over all ways from the start disc to the goal disc
    // (8-connected, no cut corners), the least sum of step length / w, w being
    // the local width at the pixels stepped between (see Playability.cpp). The
    // time to steer a way without touching its sides grows with this sum, so
    // it is the level's index of difficulty.
    double difficulty = 0;
    // The way that gives it, disc pixel to disc pixel, and its narrowest pixel.
    std::vector<QPoint> easiestWay;
    double easiestNarrowest = 0;
    QPoint easiestNarrowestAt{-1, -1};
};

// One measure per goal, in the order given.
std::vector<PathMeasure> measurePaths(const KeyMap& keys, const Spot& start, const std::vector<Spot>& goals);

// The ways of maze `level` (1..20) from its start disc to each of its goals,
// in the order the level's facts list them.
std::vector<PathMeasure> measureLevel(const KeyMap& keys, int level);

// Local width at a pixel: 2 * (distance from its centre to the centre of the
// nearest wall pixel) - 1, so 1 beside a wall and k on the middle line of a
// straight corridor k pixels wide (k odd). Walls measure 0.
std::vector<double> pixelWidths(const KeyMap& keys);

// "4" or "4.7": widths come out whole for straight corridors.
QString widthText(double width);

} // namespace zw::check
