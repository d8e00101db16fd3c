#include "draw/Pictures.h"

namespace zw::art {

Canvas drawLevel13()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 13);
    c.stroke({{33 + 25 / 2.0, 370 + 25 / 2.0}, {145 + 17 / 2.0, 370 + 25 / 2.0}, {145 + 17 / 2.0, 347 + 17 / 2.0}}, 40, Black);
    drawStart(c, 33, 370, 25);
    drawGoal(c, 145, 347, 17);
    return c;
}

} // namespace zw::art
