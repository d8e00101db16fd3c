#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel15()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 15);
    c.stroke({{285 + 17 / 2.0, 224 + 17 / 2.0}, {26 + 17 / 2.0, 224 + 17 / 2.0}, {26 + 17 / 2.0, 81 + 17 / 2.0}}, 40, Black);
    drawStart(c, 285, 224, 17);
    drawGoal(c, 26, 81, 17);
    return c;
}

} // namespace zw::art
