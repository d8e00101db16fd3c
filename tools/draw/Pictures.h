#pragma once
// Every picture of the game, each drawn from code by its own function.

#include "draw/Canvas.h"

#include <QImage>
#include <QPoint>

namespace zw::art {

// Parts that most pictures share.
void drawTopStrip(Canvas& c);                // maker's name and home page in the link colour
void drawBadge(Canvas& c, int level);        // back-to-menu badge; level 0 = without number (closing)
// Red start disc and green goal discs of a maze, in the boxes the level's
// facts give them (check/PictureFacts.h).
void drawSpots(Canvas& c, int level);

Canvas drawMenu(bool english);
Canvas drawClosing();
QImage drawPointer(bool run); // 32 x 32 ARGB: red ring (run) or green ring (idle)

Canvas drawLevel01();
Canvas drawLevel02();
Canvas drawLevel03();
Canvas drawLevel04();
Canvas drawLevel05();
Canvas drawLevel06();
Canvas drawLevel07();
Canvas drawLevel08();
Canvas drawLevel09();
Canvas drawLevel10();
Canvas drawLevel11();
Canvas drawLevel12();
Canvas drawLevel13();
Canvas drawLevel14();
Canvas drawLevel15();
Canvas drawLevel16();
Canvas drawLevel17();
Canvas drawLevel18();
Canvas drawLevel19();
Canvas drawLevel20();

} // namespace zw::art
