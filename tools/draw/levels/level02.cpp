#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel02()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 2);
    c.stroke({{69 + 25 / 2.0, 117 + 25 / 2.0}, {562 + 25 / 2.0, 117 + 25 / 2.0}, {562 + 25 / 2.0, 378 + 25 / 2.0}}, 40, Black);
    drawStart(c, 69, 117, 25);
    drawGoal(c, 562, 378, 25);
    return c;
}

} // namespace zw::art
