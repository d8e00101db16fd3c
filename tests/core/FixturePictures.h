#pragma once
// Small pictures painted in code for the rule tests. Every full picture is a
// black field with one patch of each key colour at a known place, so the
// pointer can be put on any colour on any level, and a mark pixel in the top
// right corner that tells which picture of the store it is.

#include "base/ColorKey.h"

#include <QImage>
#include <QPointF>
#include <QString>

namespace zw::test {

inline constexpr Colour Inert = 0x050403; // a colour that means nothing

// Marks of the two menu pictures; the levels carry their own number 0 to 21.
inline constexpr int MenuCzech = 100;
inline constexpr int MenuEnglish = 101;

// The centre of the patch of a key colour (or Inert) on every fixture picture.
QPointF spotOf(Colour colour);

// A 640 x 480 indexed picture with every patch and the given mark.
QImage keyBoard(int mark);

// The mark of a fixture picture (a level, MenuCzech or MenuEnglish); -1 for a null picture.
int markOf(const QImage& picture);

// The fixture picture of a store name ("menu-cs", "level-07", "closing", "pointer-run", ...).
QImage fixturePicture(const QString& name);

// The first pixel of a colour in a picture, scanning row by row; (-1, -1) when there is none.
QPoint findColour(const QImage& picture, Colour colour);

} // namespace zw::test
