#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel14()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 14);
    c.stroke({{33 + 25 / 2.0, 370 + 25 / 2.0}, {211 + 17 / 2.0, 370 + 25 / 2.0}, {211 + 17 / 2.0, 224 + 17 / 2.0}}, 40, Black);
    drawStart(c, 33, 370, 25);
    drawGoal(c, 211, 224, 17);
    return c;
}

} // namespace zw::art
