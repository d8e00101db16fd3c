#include "draw/Pictures.h"

namespace zw::art {

Canvas drawClosing()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 0);
    c.ellipse(423, 152, 615, 342, DarkRed);
    c.roundedRect(100, 93, 325, 158, 12, Orange);
    c.roundedRect(100, 93, 200, 158, 12, Red);
    return c;
}

} // namespace zw::art
