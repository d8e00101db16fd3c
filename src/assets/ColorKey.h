#pragma once
// The colour key: the nine colours the game attaches a meaning to. Values are
// &HBBGGRR, red in the low byte, as the window's colour query returns them.

#include <cstdint>

namespace zw {

using Colour = std::int32_t;

inline constexpr Colour ColorInfo = 0x000000;     // black: maze path, menu background
inline constexpr Colour ColorContinue = 0xC0C0C0; // light grey: "continue" item
inline constexpr Colour ColorNewGame = 0x808080;  // grey: "new game" item
inline constexpr Colour ColorQuit = 0x666666;     // dark grey: "quit" item
inline constexpr Colour ColorLink = 0x3399FF;     // orange (255,153,51): maker's name and home page
inline constexpr Colour ColorStart = 0x0000FF;    // red: start spot
inline constexpr Colour ColorWall = 0xFFFFFF;     // white: wall
inline constexpr Colour ColorGoal = 0x00FF00;     // green: goal
inline constexpr Colour ColorMenu = 0x000080;     // dark red (128,0,0): back to the menu

// What the colour query gives outside the window's client area: matches nothing.
inline constexpr Colour NoColour = -1;

// A picture pixel's RGB (as QRgb 0xAARRGGBB) in the key's &HBBGGRR order.
constexpr Colour fromRgb(std::uint32_t rgb)
{
    return static_cast<Colour>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

} // namespace zw
