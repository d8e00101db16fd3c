#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel06()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 6);
    c.stroke({{131 + 25 / 2.0, 77 + 25 / 2.0}, {548 + 25 / 2.0, 77 + 25 / 2.0}, {548 + 25 / 2.0, 406 + 25 / 2.0}}, 40, Black);
    drawStart(c, 131, 77, 25);
    drawGoal(c, 548, 406, 25);
    return c;
}

} // namespace zw::art
