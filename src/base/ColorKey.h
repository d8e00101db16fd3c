#pragma once
// The colour key: the nine colours the game attaches a meaning to, named
// once here for the game, the drawing tool, the picture checker and the
// tests. Each is written as the picture's RGB (QRgb, 0xAARRGGBB) and, for
// the rules, as &HBBGGRR, red in the low byte, as the window's colour query
// returns it.

#include <cstdint>

namespace zw {

using Colour = std::int32_t;

// A picture pixel's RGB (as QRgb 0xAARRGGBB) in the key's &HBBGGRR order.
constexpr Colour fromRgb(std::uint32_t rgb)
{
    return static_cast<Colour>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The key colours as a picture holds them, fully opaque.
namespace keyrgb {
inline constexpr std::uint32_t Black = 0xFF000000u;     // maze path, menu background
inline constexpr std::uint32_t LightGrey = 0xFFC0C0C0u; // "continue" item
inline constexpr std::uint32_t Grey = 0xFF808080u;      // "new game" item
inline constexpr std::uint32_t DarkGrey = 0xFF666666u;  // "quit" item
inline constexpr std::uint32_t Orange = 0xFFFF9933u;    // maker's name and home page
inline constexpr std::uint32_t Red = 0xFFFF0000u;       // start spot
inline constexpr std::uint32_t White = 0xFFFFFFFFu;     // wall
inline constexpr std::uint32_t Green = 0xFF00FF00u;     // goal
inline constexpr std::uint32_t DarkRed = 0xFF800000u;   // back to the menu
} // namespace keyrgb

inline constexpr Colour ColorInfo = fromRgb(keyrgb::Black);         // black: maze path, menu background
inline constexpr Colour ColorContinue = fromRgb(keyrgb::LightGrey); // light grey: "continue" item
inline constexpr Colour ColorNewGame = fromRgb(keyrgb::Grey);       // grey: "new game" item
inline constexpr Colour ColorQuit = fromRgb(keyrgb::DarkGrey);      // dark grey: "quit" item
inline constexpr Colour ColorLink = fromRgb(keyrgb::Orange);        // orange (255,153,51): maker's name and home page
inline constexpr Colour ColorStart = fromRgb(keyrgb::Red);          // red: start spot
inline constexpr Colour ColorWall = fromRgb(keyrgb::White);         // white: wall
inline constexpr Colour ColorGoal = fromRgb(keyrgb::Green);         // green: goal
inline constexpr Colour ColorMenu = fromRgb(keyrgb::DarkRed);       // dark red (128,0,0): back to the menu

static_assert(ColorLink == 0x3399FF && ColorMenu == 0x000080 && ColorStart == 0x0000FF);

// What the colour query gives outside the window's client area: matches nothing.
inline constexpr Colour NoColour = -1;

} // namespace zw
