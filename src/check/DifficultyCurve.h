#pragma once
// The difficulty curve of the twenty mazes: each about as hard to steer as the
// one before or harder, the last one the hardest, none out of reach.

#include "check/CheckFolder.h"
#include "check/Finding.h"

#include <QPoint>
#include <vector>

namespace zw::check {

// How hard one maze is to steer, from its measured ways (Playability.h).
struct LevelDifficulty {
    int level = 0;
    bool measured = false;       // false: unreadable, or no goal reachable
    double id = 0;               // steering difficulty of the easiest goal to reach
    double easiestNarrowest = 0; // narrowest width on the easiest way to any goal
    QPoint easiestNarrowestAt{-1, -1};
    double widestNarrowest = 0;  // narrowest place of the widest way to any goal
    QPoint widestNarrowestAt{-1, -1};
};

// One entry per maze level found among the pictures (as checkFolder loaded
// and measured them), in level order.
std::vector<LevelDifficulty> levelDifficulties(const std::vector<LoadedPicture>& pictures);

// The bounds of the curve. A player feels a maze much easier than the one
// before as a level that does not belong where it stands, and one many times
// harder as a wall; the first two are a warm-up and may rise faster.
namespace curve {
constexpr double firstMost = 5;     // the first maze is an open field
constexpr double lastMost = 900;    // the last maze stays within reach
constexpr int stepsFrom = 3;        // from this maze on, each one's ID is ...
constexpr double dropLeast = 0.75;  // ... at least this share of the one before it ...
constexpr double riseMost = 3;      // ... and at most this many times it
constexpr int steadyFrom = 15;      // from this maze on, every winning way is at least ...
constexpr double steadyWidth = 5;   // ... this wide all along (px)
constexpr double lastWidth = 8;     // the last maze's thick strokes: every winning way this wide (px)
} // namespace curve

// Findings against the curve, named by the level's picture file. Levels
// that could not be measured are left to the path rule, which names them.
std::vector<Finding> checkDifficultyCurve(const std::vector<LevelDifficulty>& levels);

} // namespace zw::check
