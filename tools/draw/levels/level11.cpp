#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel11()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 11);
    c.stroke({{32 + 17 / 2.0, 449 + 17 / 2.0}, {73 + 17 / 2.0, 449 + 17 / 2.0}, {73 + 17 / 2.0, 359 + 17 / 2.0}}, 40, Black);
    drawStart(c, 32, 449, 17);
    drawGoal(c, 73, 359, 17);
    return c;
}

} // namespace zw::art
