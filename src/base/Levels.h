#pragma once
// The game's levels by number, named once for every place that means one of
// them: the menu, the mazes, the closing picture after the last maze, and so
// the number of level pictures.

namespace zw {

inline constexpr int MenuLevel = 0;
inline constexpr int FirstMaze = 1;
inline constexpr int LastMaze = 20;
inline constexpr int ClosingLevel = LastMaze + 1;      // the closing picture
inline constexpr int LevelPictureCount = ClosingLevel + 1; // levels 0 to the closing picture

} // namespace zw
