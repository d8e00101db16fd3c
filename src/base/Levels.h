#pragma once
// The game's levels by number, named once for every place that means one of
// them: the menu, the mazes, the closing picture after the last maze, and so
// the number of level pictures; and the name of a maze's picture.

#include <QString>

namespace zw {

inline constexpr int MenuLevel = 0;
inline constexpr int FirstMaze = 1;
inline constexpr int LastMaze = 20;
inline constexpr int ClosingLevel = LastMaze + 1;      // the closing picture
inline constexpr int LevelPictureCount = ClosingLevel + 1; // levels 0 to the closing picture

// A maze's picture, "level-01" to "level-20": the game carries its own under
// that name, and a player's folder holds them as files of that name and ".png".
inline QString levelPictureName(int level) { return QStringLiteral("level-%1").arg(level, 2, 10, QLatin1Char('0')); }
inline QString levelPictureFile(int level) { return levelPictureName(level) + QStringLiteral(".png"); }

} // namespace zw
