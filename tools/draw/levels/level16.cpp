#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel16()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 16);
    c.stroke({{41 + 25 / 2.0, 168 + 25 / 2.0}, {153 + 25 / 2.0, 168 + 25 / 2.0}, {153 + 25 / 2.0, 179 + 25 / 2.0}}, 40, Black);
    drawStart(c, 41, 168, 25);
    drawGoal(c, 153, 179, 25);
    return c;
}

} // namespace zw::art
