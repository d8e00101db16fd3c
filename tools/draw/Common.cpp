// Parts that the pictures share: the top strip with the maker's name and home
// page, the back-to-menu badge, and the start and goal discs.

#include "draw/Pictures.h"

namespace zw::art {

void drawTopStrip(Canvas& c)
{
    c.textInBox(2, 2, 175, 13, QStringLiteral("Korvel Software"), Orange);
    c.textInBox(452, 2, 637, 14, QStringLiteral("www.korvel.example"), Orange);
}

void drawBadge(Canvas& c, int level)
{
    // Box (252, 2)-(390, 48): a bracket outline around LEVEL, the number with
    // an arrow pointing at it, and < MENU >.
    c.rect(252, 2, 390, 48, White);
    // Bracket: two vertical bars with short feet top and bottom.
    c.rect(252, 2, 254, 48, DarkRed);
    c.rect(252, 2, 263, 4, DarkRed);
    c.rect(252, 46, 263, 48, DarkRed);
    c.rect(388, 2, 390, 48, DarkRed);
    c.rect(379, 2, 390, 4, DarkRed);
    c.rect(379, 46, 390, 48, DarkRed);

    c.textInBox(290, 7, 352, 16, QStringLiteral("LEVEL"), DarkRed);
    if (level > 0) {
        c.textInBox(322, 19, 348, 30, QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0')), DarkRed);
        // Arrow from the left, pointing at the number.
        c.rect(296, 24, 314, 25, DarkRed);
        c.polygon({{312, 19.5}, {319, 24.5}, {312, 29.5}}, DarkRed);
    }
    c.textInBox(270, 34, 372, 43, QStringLiteral("< MENU >"), DarkRed);
}

void drawStart(Canvas& c, int x1, int y1, int diameter)
{
    const int r = diameter / 2;
    c.disc(x1 + r, y1 + r, r, Red);
}

void drawGoal(Canvas& c, int x1, int y1, int diameter)
{
    const int r = diameter / 2;
    c.disc(x1 + r, y1 + r, r, Green);
}

} // namespace zw::art
