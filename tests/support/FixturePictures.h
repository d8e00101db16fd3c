#pragma once
// Small pictures painted in code for the rule, window and feature tests.
// Every full picture is a black field with one patch of each key colour at
// a known place, so the pointer can be put on any colour on any level, and
// a mark patch near the bottom right corner, clear of where the frame
// rests, whose colour tells which picture of the store it is.

#include "base/ColorKey.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>

namespace zw::test {

inline constexpr Colour Inert = 0x050403; // a colour that means nothing

// Marks of the two menu pictures; the levels carry their own number 0 to 21.
inline constexpr int MenuCzech = 100;
inline constexpr int MenuEnglish = 101;

// The patch of a key colour (or Inert) on every fixture picture, and its
// centre; an empty rectangle and (-100, -100) for a colour that has none.
QRect patchOf(Colour colour);
QPointF spotOf(Colour colour);

// The colour a key colour (&HBBGGRR) is painted in.
QColor keyColour(Colour colour);

// Where the mark of every full picture lies.
inline const QRect Marker(560, 400, 30, 30);

// A 640 x 480 indexed picture with every patch and the given mark.
QImage keyBoard(int mark);

// The mark of a fixture picture or of a screen that shows one (a level,
// MenuCzech or MenuEnglish); -1 for a null picture or no mark.
int markOf(const QImage& picture);

// The fixture picture of a store name ("menu-cs", "level-07", "closing", "pointer-run", ...).
QImage fixturePicture(const QString& name);

// The first pixel of a colour in a picture, scanning row by row; (-1, -1) when there is none.
QPoint findColour(const QImage& picture, Colour colour);

} // namespace zw::test
