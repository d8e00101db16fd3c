#pragma once
// The size of every full-window picture (the menus, the mazes, the closing
// picture), shown unscaled at the window's top left; and the window's client
// area: the picture and, under it, the strip that holds the status lines.

namespace zw {

inline constexpr int PictureWidth = 640;
inline constexpr int PictureHeight = 480;

inline constexpr int StripHeight = 16;
inline constexpr int WindowWidth = PictureWidth;
inline constexpr int WindowHeight = PictureHeight + StripHeight;

} // namespace zw
