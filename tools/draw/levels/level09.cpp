#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel09()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 9);
    c.stroke({{557 + 25 / 2.0, 373 + 25 / 2.0}, {214 + 25 / 2.0, 373 + 25 / 2.0}, {214 + 25 / 2.0, 178 + 25 / 2.0}}, 40, Black);
    drawStart(c, 557, 373, 25);
    drawGoal(c, 214, 178, 25);
    return c;
}

} // namespace zw::art
