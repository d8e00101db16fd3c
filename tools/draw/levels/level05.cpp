#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel05()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 5);
    c.stroke({{23 + 25 / 2.0, 206 + 25 / 2.0}, {575 + 25 / 2.0, 206 + 25 / 2.0}, {575 + 25 / 2.0, 201 + 25 / 2.0}}, 40, Black);
    drawStart(c, 23, 206, 25);
    drawGoal(c, 575, 201, 25);
    return c;
}

} // namespace zw::art
