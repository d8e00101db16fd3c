#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel07()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 7);
    c.stroke({{397 + 17 / 2.0, 142 + 17 / 2.0}, {183 + 17 / 2.0, 142 + 17 / 2.0}, {183 + 17 / 2.0, 391 + 17 / 2.0}}, 40, Black);
    drawStart(c, 397, 142, 17);
    drawGoal(c, 183, 391, 17);
    return c;
}

} // namespace zw::art
