// Level 1: an open field. One big rounded field, so the first run teaches
// only "press on red, hold, and walk to green".

#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel01()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 1);
    c.roundedRect(44, 98, 612, 417, 36, Black);
    drawSpots(c, 1);
    return c;
}

} // namespace zw::art
