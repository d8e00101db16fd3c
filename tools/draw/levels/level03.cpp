#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel03()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 3);
    c.stroke({{29 + 25 / 2.0, 161 + 25 / 2.0}, {52 + 25 / 2.0, 161 + 25 / 2.0}, {52 + 25 / 2.0, 349 + 25 / 2.0}}, 40, Black);
    drawStart(c, 29, 161, 25);
    drawGoal(c, 52, 349, 25);
    return c;
}

} // namespace zw::art
