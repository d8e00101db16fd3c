#pragma once
// Clean pictures built in code, small and plain but following every rule, so
// that a test can break exactly one thing and see the checker name it.

#include "base/ColorKey.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>

namespace zw::fixtures {

inline constexpr QRgb black = keyrgb::Black, white = keyrgb::White, red = keyrgb::Red, green = keyrgb::Green,
                      orange = keyrgb::Orange, darkRed = keyrgb::DarkRed, lightGrey = keyrgb::LightGrey,
                      grey = keyrgb::Grey, darkGrey = keyrgb::DarkGrey;
inline constexpr QRgb inertDark = 0xFF333333u; // no colour of the key

// Full-window pictures as RGB32 canvases, to be broken and then encoded.
QImage level(int number);
QImage menu(bool english);
QImage closing();
// 32 x 32 ARGB pointer: red band (run) or green band (idle).
QImage pointer(bool run);

// The canvas as the drawing tool writes it: 8-bit with the game's palette.
QImage encode(const QImage& canvas);
QImage encode(const QImage& canvas, const QList<QRgb>& palette);

// Drawing helpers on a canvas; boxes include both corners.
void fill(QImage& img, const QRect& box, QRgb c);
void disc(QImage& img, QPoint centre, int radius, QRgb c);

// The corridor of a fixture level runs from the start disc's centre along
// its row to the goal's column, then along that column to the goal.
inline constexpr int corridorWidth = 30;

} // namespace zw::fixtures
