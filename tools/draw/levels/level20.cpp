#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel20()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 20);
    c.stroke({{14 + 17 / 2.0, 399 + 17 / 2.0}, {600 + 17 / 2.0, 399 + 17 / 2.0}, {600 + 17 / 2.0, 96 + 17 / 2.0}}, 40, Black);
    drawStart(c, 14, 399, 17);
    drawGoal(c, 600, 96, 17);
    return c;
}

} // namespace zw::art
