#pragma once
// Clean pictures built in code, small and plain but following every rule, so
// that a test can break exactly one thing and see the checker name it.

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>

namespace zw::fixtures {

inline constexpr QRgb black = 0xFF000000u, white = 0xFFFFFFFFu, red = 0xFFFF0000u, green = 0xFF00FF00u,
                      orange = 0xFFFF9933u, darkRed = 0xFF800000u, lightGrey = 0xFFC0C0C0u, grey = 0xFF808080u,
                      darkGrey = 0xFF666666u, inertDark = 0xFF333333u;

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
