#pragma once
// Which mazes the game plays: its own twenty, or the first ones of a folder a
// player drew. The menu, the pointers and the closing picture are always the
// game's own; the closing picture follows the last maze of the set.

#include "base/Levels.h"

#include <QString>

namespace zw {

inline const QString BuiltInSaveSection = QStringLiteral("SaveGame");

struct LevelSet {
    int lastMaze = LastMaze;                  // 1 to LastMaze
    QString saveSection = BuiltInSaveSection; // the store section its progress goes to

    // Whether the set has this maze.
    bool hasMaze(double level) const { return level >= FirstMaze && level <= lastMaze; }

    // Whether the set has this level: the menu, one of its mazes or the closing picture.
    bool has(double level) const { return level == MenuLevel || hasMaze(level) || level == ClosingLevel; }

    // The level a change that counted up to `level` shows: the closing
    // picture follows the set's last maze, and nothing follows it.
    float landsOn(float level) const { return level > float(lastMaze) ? float(ClosingLevel) : level; }
};

} // namespace zw
