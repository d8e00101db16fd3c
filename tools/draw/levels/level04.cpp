#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel04()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 4);
    c.stroke({{134 + 25 / 2.0, 103 + 25 / 2.0}, {535 + 25 / 2.0, 103 + 25 / 2.0}, {535 + 25 / 2.0, 407 + 25 / 2.0}}, 40, Black);
    drawStart(c, 134, 103, 25);
    drawGoal(c, 535, 407, 25);
    return c;
}

} // namespace zw::art
