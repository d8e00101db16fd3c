#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel08()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 8);
    c.stroke({{15 + 25 / 2.0, 257 + 25 / 2.0}, {499 + 25 / 2.0, 257 + 25 / 2.0}, {499 + 25 / 2.0, 171 + 25 / 2.0}}, 40, Black);
    drawStart(c, 15, 257, 25);
    drawGoal(c, 499, 171, 25);
    return c;
}

} // namespace zw::art
