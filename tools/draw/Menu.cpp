#include "draw/Pictures.h"

namespace zw::art {

Canvas drawMenu(bool english)
{
    Canvas c(640, 480, Black);
    drawTopStrip(c);
    c.rect(48, 54, 230, 97, LightGrey);
    c.rect(48, 112, 230, 155, Grey);
    c.rect(48, 170, 230, 213, DarkGrey);
    c.textInBox(60, 62, 218, 89, english ? QStringLiteral("LOAD") : QStringLiteral("NAHRÁT"), Black);
    c.textInBox(60, 120, 218, 147, english ? QStringLiteral("NEW GAME") : QStringLiteral("NOVÁ HRA"), Black);
    c.textInBox(60, 178, 218, 205, english ? QStringLiteral("QUIT") : QStringLiteral("KONEC"), Black);
    c.ring(441, 320, 30, 40, White);
    return c;
}

} // namespace zw::art
