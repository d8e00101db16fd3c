#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel19()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 19);
    c.stroke({{34 + 25 / 2.0, 108 + 25 / 2.0}, {33 + 25 / 2.0, 108 + 25 / 2.0}, {33 + 25 / 2.0, 388 + 25 / 2.0}}, 40, Black);
    drawStart(c, 34, 108, 25);
    drawGoal(c, 33, 388, 25);
    return c;
}

} // namespace zw::art
