#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel17()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 17);
    c.stroke({{81 + 25 / 2.0, 148 + 25 / 2.0}, {79 + 25 / 2.0, 148 + 25 / 2.0}, {79 + 25 / 2.0, 350 + 25 / 2.0}}, 40, Black);
    drawStart(c, 81, 148, 25);
    drawGoal(c, 79, 350, 25);
    return c;
}

} // namespace zw::art
