#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel10()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 10);
    c.stroke({{28 + 25 / 2.0, 208 + 25 / 2.0}, {265 + 25 / 2.0, 208 + 25 / 2.0}, {265 + 25 / 2.0, 292 + 25 / 2.0}}, 40, Black);
    drawStart(c, 28, 208, 25);
    drawGoal(c, 265, 292, 25);
    return c;
}

} // namespace zw::art
