// Parts that the pictures share: the top strip with the maker's name and home
// page, the back-to-menu badge, and the start and goal discs.

#include "draw/Pictures.h"
#include "base/Maker.h"
#include "check/PictureBoxes.h"
#include "check/PictureFacts.h"

#include <algorithm>
#include <cstdlib>

namespace zw::art {

void drawTopStrip(Canvas& c)
{
    const QRect& name = check::area::nameStrip;
    const QRect& home = check::area::homeStrip;
    c.textInBox(name.left(), name.top(), name.right(), name.bottom(), maker::Name, Orange);
    c.textInBox(home.left(), home.top(), home.right(), home.bottom(), maker::Host, Orange);
}

namespace {

// Badge geometry: the badge's box, its centre column, and the rows of its
// three lines of lettering.
const int BadgeLeft = check::area::badge.left(), BadgeTop = check::area::badge.top(),
          BadgeRight = check::area::badge.right(), BadgeBottom = check::area::badge.bottom();
const int BadgeCentre = (BadgeLeft + BadgeRight + 1) / 2;
constexpr int WordSize = 12;   // LEVEL and MENU: capitals 9 rows high
constexpr int NumberSize = 17; // the level number: capitals 12 rows high

// Writes s in bold dark red with its capitals' top at row top, centred on x.
QRect badgeText(Canvas& c, int centreX, int top, const QString& s, int size)
{
    const QRect ink = c.textInk(s, size);
    const int x = centreX - (ink.width() + 1) / 2;
    c.text(x, top, s, size, DarkRed);
    return QRect(x, top, ink.width(), ink.height());
}

// A chevron 7 wide and 9 high, 3 pixels thick, its point towards dir (-1 left, +1 right).
void chevron(Canvas& c, int x, int top, int dir)
{
    for (int row = 0; row < 9; ++row) {
        const int reach = 4 - std::abs(row - 4); // 0 at the ends, 4 at the point
        const int col = dir < 0 ? x + 4 - reach : x + reach;
        c.rect(col, top + row, col + 2, top + row, DarkRed);
    }
}

} // namespace

void drawBadge(Canvas& c, int level)
{
    // Every dark red stroke is at least 2 pixels wide so that a press on it is
    // easy to land; the white between the strokes stays wall.
    c.rect(BadgeLeft, BadgeTop, BadgeRight, BadgeBottom, White);

    // The bracket: a bar down each side with feet turned inwards, the outer
    // corners cut so the ends look drawn rather than boxed.
    for (int side : {-1, +1}) {
        const int outer = side < 0 ? BadgeLeft : BadgeRight;
        const int inner = outer - 2 * side;  // the bar is 3 wide
        const int foot = outer - 10 * side;  // feet reach 11 in
        c.rect(std::min(outer, inner), BadgeTop + 1, std::max(outer, inner), BadgeBottom - 1, DarkRed);
        c.rect(std::min(outer, foot), BadgeTop, std::max(outer, foot), BadgeTop + 2, DarkRed);
        c.rect(std::min(outer, foot), BadgeBottom - 2, std::max(outer, foot), BadgeBottom, DarkRed);
        c.pixel(outer, BadgeTop, White);
        c.pixel(outer, BadgeBottom, White);
    }

    // Without a number the two words close up around the middle.
    const int wordsTop = level > 0 ? 7 : 12, menuTop = level > 0 ? 35 : 29;
    badgeText(c, BadgeCentre, wordsTop, QStringLiteral("LEVEL"), WordSize);
    if (level > 0) {
        const QRect number =
            badgeText(c, BadgeCentre, 19, QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0')), NumberSize);
        // The arrow comes from the left and stops just short of the number.
        const int tip = number.left() - 4, mid = 25;
        c.rect(tip - 22, mid - 1, tip - 6, mid + 1, DarkRed);
        for (int col = 0; col < 7; ++col) // head: 13 rows at its base, 1 at the tip
            c.rect(tip - 6 + col, mid - 6 + col, tip - 6 + col, mid + 6 - col, DarkRed);
    }
    const QRect menu = badgeText(c, BadgeCentre, menuTop, QStringLiteral("MENU"), WordSize);
    chevron(c, menu.left() - 12, menuTop, -1);
    chevron(c, menu.right() + 6, menuTop, +1);
}

void drawSpots(Canvas& c, int level)
{
    const check::LevelFacts& facts = check::levelFacts(level);
    for (const QPoint& p : check::discPixels(facts.start))
        c.pixel(p.x(), p.y(), Red);
    for (const QRect& goal : facts.goals)
        for (const QPoint& p : check::discPixels(goal))
            c.pixel(p.x(), p.y(), Green);
}

} // namespace zw::art
