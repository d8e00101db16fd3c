#pragma once
// Small hand-made pictures for the window tests: every key colour at a known
// place, and a marker patch whose colour tells the pictures apart.

#include "base/ColorKey.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace zw::test {

QColor keyColour(Colour colour);

// Loader for PictureStore: "menu-cs", "menu-en", "level-01".."level-20",
// "closing", "pointer-run", "pointer-idle".
QImage fixturePicture(const QString& name);

// Where things are on the fixture menus (both languages).
namespace menu {
inline const QRect Continue(48, 54, 183, 44);
inline const QRect NewGame(48, 112, 183, 44);
inline const QRect Quit(48, 170, 183, 44);
inline const QRect Link(300, 300, 60, 60);
inline const QRect Start(400, 300, 60, 60);
inline const QRect Wall(500, 300, 60, 60);
} // namespace menu

// Where things are on the fixture levels 1 to 21.
namespace level {
inline const QRect Path(40, 60, 560, 380); // black; white all around it
inline const QRect Start(60, 200, 40, 40);
inline const QRect Goal(540, 200, 40, 40);
inline const QRect Badge(280, 10, 80, 30); // back to the menu
} // namespace level

// A patch whose colour is different in every picture.
inline const QRect Marker(560, 400, 30, 30);

} // namespace zw::test
