#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel18()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 18);
    c.stroke({{114 + 25 / 2.0, 157 + 25 / 2.0}, {533 + 25 / 2.0, 157 + 25 / 2.0}, {533 + 25 / 2.0, 156 + 25 / 2.0}}, 40, Black);
    drawStart(c, 114, 157, 25);
    drawGoal(c, 533, 156, 25);
    return c;
}

} // namespace zw::art
