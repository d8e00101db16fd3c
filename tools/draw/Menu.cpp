// The menu, in Czech and in English: three item boxes on the left, the game's
// title at the top right and the maker's logo below it. Only the captions
// differ between the two languages.

#include "draw/Logo.h"
#include "draw/Pictures.h"
#include "base/Maker.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>

namespace zw::art {

namespace {

struct Item {
    int top;      // the boxes all run from x 48 to 230 and are 44 rows high
    QColor colour;
    QString czech;
    QString english;
};

const Item Items[] = {
    {54, LightGrey, QStringLiteral("NAHRÁT"), QStringLiteral("LOAD")},
    {112, Grey, QStringLiteral("NOVÁ HRA"), QStringLiteral("NEW GAME")},
    {170, DarkGrey, QStringLiteral("KONEC"), QStringLiteral("QUIT")},
};
constexpr int ItemLeft = 48, ItemRight = 230, ItemHeight = 44;
constexpr int CaptionMargin = 12; // least room left and right of a caption

// One letter size for all six captions, the largest at which the widest of
// them keeps its margins, so both menus and all three boxes match.
int captionSize()
{
    const Canvas probe;
    const int room = ItemRight - ItemLeft + 1 - 2 * CaptionMargin;
    int best = 8;
    for (int size = 8; size < 40; ++size) {
        bool fits = probe.textInk(QStringLiteral("H"), size).height() <= ItemHeight / 2;
        for (const Item& item : Items)
            fits = fits && probe.textInk(item.czech, size).width() <= room
                   && probe.textInk(item.english, size).width() <= room;
        if (!fits)
            break;
        best = size;
    }
    return best;
}

// Black letters cut out of the box, centred on the capitals so that an
// accent above a letter does not push a caption down.
void drawCaption(Canvas& c, const Item& item, const QString& caption, int size)
{
    const QRect ink = c.textInk(caption, size);
    const QRect capital = c.textInk(QStringLiteral("H"), size);
    const int capitalTop = item.top + (ItemHeight - capital.height()) / 2;
    const int x = ItemLeft + (ItemRight - ItemLeft + 1 - ink.width()) / 2;
    c.text(x, capitalTop - (capital.top() - ink.top()), caption, size, Black);
}

void drawItems(Canvas& c, bool english)
{
    const int size = captionSize();
    for (const Item& item : Items) {
        c.rect(ItemLeft, item.top, ItemRight, item.top + ItemHeight - 1, item.colour);
        // A thin black rim inset in each box makes it read as a button.
        c.frame(ItemLeft + 3, item.top + 3, ItemRight - 3, item.top + ItemHeight - 4, 1, Black);
        drawCaption(c, item, english ? item.english : item.czech, size);
    }
}

// The title: big slanted white letters whose lower half dissolves into ever
// thicker black bands, over a zig-zag line like the path the player walks.
// It stays clear of every place the highlight frame stops at.
void drawTitle(Canvas& c)
{
    const QRectF box(306, 54, 308, 88);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(100);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 9);
    QPainterPath letters;
    letters.addText(0, 0, font, QStringLiteral("ZIGWALK"));
    // The round G overshoots the flat letters by a hair; cut it back to the
    // capital line and the baseline so the bands do not leave stray dots.
    QPainterPath capitals;
    capitals.addRect(QRectF(-10, -QFontMetricsF(font).capHeight(), 1000, QFontMetricsF(font).capHeight()));
    letters = letters.intersected(capitals);
    letters = QTransform().shear(-0.18, 0).map(letters);
    const QRectF from = letters.boundingRect();
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / from.width(), box.height() / from.height());
    fit.translate(-from.left(), -from.top());
    c.fillPath(fit.map(letters), White);

    // Bands: each a row thicker and a row closer than the one above.
    int y = int(box.top() + box.height() * 0.52);
    for (int band = 1, gap = 6; y <= box.bottom(); ++band, gap = std::max(2, gap - 1)) {
        c.recolour(int(box.left()) - 2, y, int(box.right()) + 2, y + band - 1, White, Black);
        y += band + gap;
    }

    // The zig-zag underline, ending in a short level stretch on each side.
    const double mid = 180, amplitude = 11, left = 308, right = 612, tooth = 24;
    std::vector<QPointF> zigzag{{left, mid}, {left + tooth, mid}};
    int n = 0;
    for (double x = left + tooth * 1.5; x < right - tooth; x += tooth, ++n)
        zigzag.push_back(QPointF(x, n % 2 ? mid + amplitude : mid - amplitude));
    zigzag.push_back(QPointF(zigzag.back().x() + tooth / 2, mid));
    zigzag.push_back(QPointF(right, mid));
    c.stroke(zigzag, 5, White);
}

// A small copyright line in the empty lower left corner, under the buttons,
// balances the logo on the right.
void drawCopyright(Canvas& c)
{
    c.text(ItemLeft, 452, QStringLiteral("© 2026 ") + maker::Name, 12, White);
}

} // namespace

Canvas drawMenu(bool english)
{
    Canvas c(PictureWidth, PictureHeight, Black);
    drawTopStrip(c);
    drawItems(c, english);
    drawTitle(c);
    drawMakerLogo(c);
    drawCopyright(c);
    return c;
}

} // namespace zw::art
