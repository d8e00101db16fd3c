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
};

} // namespace zw
