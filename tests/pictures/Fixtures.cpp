#include "Fixtures.h"

#include "check/KeyColour.h"
#include "check/PictureFacts.h"
#include "base/GamePalette.h"
#include "base/PictureSize.h"

#include <QHash>
#include <stdexcept>

namespace zw::fixtures {

using check::box;

void fill(QImage& img, const QRect& b, QRgb c)
{
    for (int y = b.top(); y <= b.bottom(); ++y)
        for (int x = b.left(); x <= b.right(); ++x)
            img.setPixel(x, y, c);
}

void disc(QImage& img, QPoint centre, int r, QRgb c)
{
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (dx * dx + dy * dy <= r * r)
                img.setPixel(centre.x() + dx, centre.y() + dy, c);
}

namespace {

QImage canvas(QRgb background)
{
    QImage img(PictureWidth, PictureHeight, QImage::Format_RGB32);
    img.fill(background);
    return img;
}

// Letters stand-in: 2-pixel bars 10 pixels high across most of the box.
void letters(QImage& img, const QRect& b, QRgb c)
{
    for (int x = b.left() + 8; x + 1 <= b.right() - 8; x += 4)
        fill(img, box(x, b.top() + 1, x + 1, b.top() + 10), c);
}

void topStrip(QImage& img)
{
    letters(img, box(2, 2, 175, 13), orange);
    letters(img, box(452, 2, 637, 14), orange);
}

void badge(QImage& img)
{
    fill(img, box(252, 2, 390, 48), white);
    fill(img, box(252, 2, 254, 48), darkRed);
    fill(img, box(388, 2, 390, 48), darkRed);
    fill(img, box(290, 20, 350, 30), darkRed);
}

void discIn(QImage& img, const QRect& b, QRgb c)
{
    for (const QPoint& p : check::discPixels(b))
        img.setPixel(p, c);
}

} // namespace

QImage level(int number)
{
    const check::LevelFacts& facts = check::levelFacts(number);
    QImage img = canvas(white);
    topStrip(img);
    badge(img);
    const int half = corridorWidth / 2;
    const QPoint s = check::discCentre(facts.start);
    for (const QRect& goalBox : facts.goals) {
        const QPoint g = check::discCentre(goalBox);
        fill(img, box(std::min(s.x(), g.x()) - half, s.y() - half, std::max(s.x(), g.x()) + half, s.y() + half), black);
        fill(img, box(g.x() - half, std::min(s.y(), g.y()) - half, g.x() + half, std::max(s.y(), g.y()) + half), black);
    }
    discIn(img, facts.start, red);
    for (const QRect& goalBox : facts.goals)
        discIn(img, goalBox, green);
    // Dark specks along the corridor's top edge, for the levels that carry them.
    for (int i = 0; i < facts.inertPixels; ++i)
        img.setPixel(std::min(s.x(), check::discCentre(facts.goals[0]).x()) - half + 2 * i, s.y() - half - 1, inertDark);
    return img;
}

QImage menu(bool english)
{
    QImage img = canvas(black);
    topStrip(img);
    const struct {
        QRect b;
        QRgb c;
    } items[] = {{box(48, 54, 230, 97), lightGrey}, {box(48, 112, 230, 155), grey}, {box(48, 170, 230, 213), darkGrey}};
    for (const auto& item : items) {
        fill(img, item.b, item.c);
        // Captions differ between the languages: a different number of letters.
        const int count = english ? 4 : 6;
        for (int i = 0; i < count; ++i)
            fill(img, box(item.b.left() + 20 + 24 * i, item.b.top() + 10, item.b.left() + 36 + 24 * i, item.b.top() + 33), black);
    }
    // Logo: two red arcs (41 x 114) around a white ring, a white name below.
    fill(img, box(360, 275, 400, 388), red);
    fill(img, box(482, 275, 522, 388), red);
    for (int y = 300; y <= 366; ++y)
        for (int x = 408; x <= 474; ++x) {
            const int dx = x - 441, dy = y - 333;
            if (dx * dx + dy * dy <= 33 * 33 && dx * dx + dy * dy > 25 * 25)
                img.setPixel(x, y, white);
        }
    fill(img, box(380, 394, 500, 400), white);
    return img;
}

QImage closing()
{
    QImage img = canvas(white);
    topStrip(img);
    badge(img);
    // The big disc, filled, in the menu colour.
    for (int y = 152; y <= 342; ++y)
        for (int x = 423; x <= 615; ++x) {
            const double dx = (x - 519.0) / 96.5, dy = (y - 247.0) / 95.5;
            if (dx * dx + dy * dy <= 1.0)
                img.setPixel(x, y, darkRed);
        }
    fill(img, box(100, 93, 200, 158), red);
    fill(img, box(201, 93, 325, 158), orange);
    fill(img, box(190, 120, 230, 130), red); // the arrow reaching into the orange part
    for (int row = 0; row < 10; ++row)
        fill(img, box(40, 200 + 24 * row, 160, 212 + 24 * row), black);
    return img;
}

QImage pointer(bool run)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 10; y <= 21; ++y)
        for (int x = 10; x <= 21; ++x) {
            const double d2 = (x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5);
            if (d2 <= 2.5)
                continue;
            if (d2 <= 6.5 || (d2 > 20.5 && d2 <= 30.5))
                img.setPixel(x, y, black);
            else if (d2 <= 20.5)
                img.setPixel(x, y, run ? red : green);
        }
    return img;
}

QImage encode(const QImage& canvas)
{
    return encode(canvas, zw::gamePalette());
}

QImage encode(const QImage& canvas, const QList<QRgb>& palette)
{
    QHash<QRgb, int> index;
    for (int i = palette.size() - 1; i >= 0; --i)
        index.insert(palette[i] | 0xFF000000u, i);
    QImage out(canvas.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const auto it = index.constFind(canvas.pixel(x, y) | 0xFF000000u);
            if (it == index.constEnd())
                throw std::runtime_error("fixture colour outside the palette");
            out.scanLine(y)[x] = uchar(*it);
        }
    return out;
}

} // namespace zw::fixtures
