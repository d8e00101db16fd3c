#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel12()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 12);
    c.stroke({{33 + 25 / 2.0, 370 + 25 / 2.0}, {592 + 25 / 2.0, 370 + 25 / 2.0}, {592 + 25 / 2.0, 87 + 25 / 2.0}}, 40, Black);
    drawStart(c, 33, 370, 25);
    drawGoal(c, 592, 87, 25);
    return c;
}

} // namespace zw::art
