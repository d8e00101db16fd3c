#include "support/FixturePictures.h"

#include "assets/PictureStore.h"

#include <array>

namespace zw::test {

namespace {

// Order of the patches from left to right.
constexpr std::array<Colour, 10> PatchColours{
    ColorInfo, ColorContinue, ColorNewGame, ColorQuit, ColorLink,
    ColorStart, ColorWall, ColorGoal, ColorMenu, Inert,
};
constexpr int PatchLeft = 20, PatchTop = 200, PatchPitch = 60, PatchSize = 40;

QRgb rgbOf(Colour colour)
{
    return keyColour(colour).rgb();
}

// Red carries the mark; green 7 keeps it clear of every key colour.
Colour markColour(int mark) { return static_cast<Colour>(0x090700 | mark); }

} // namespace

QColor keyColour(Colour colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QRect patchOf(Colour colour)
{
    for (std::size_t i = 0; i < PatchColours.size(); ++i)
        if (PatchColours[i] == colour)
            return QRect(PatchLeft + PatchPitch * int(i), PatchTop, PatchSize, PatchSize);
    return {};
}

QPointF spotOf(Colour colour)
{
    const QRect patch = patchOf(colour);
    return patch.isEmpty() ? QPointF(-100, -100) : QRectF(patch).center();
}

QImage keyBoard(int mark)
{
    QImage picture(640, 480, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (Colour colour : PatchColours)
        table << rgbOf(colour);
    table << rgbOf(markColour(mark));
    picture.setColorTable(table);
    picture.fill(0); // black, ColorInfo
    for (int i = 0; i < int(PatchColours.size()); ++i)
        for (int y = PatchTop; y < PatchTop + PatchSize; ++y)
            for (int x = PatchLeft + PatchPitch * i; x < PatchLeft + PatchPitch * i + PatchSize; ++x)
                picture.setPixel(x, y, uint(i));
    for (int y = Marker.top(); y <= Marker.bottom(); ++y)
        for (int x = Marker.left(); x <= Marker.right(); ++x)
            picture.setPixel(x, y, uint(table.size() - 1));
    return picture;
}

int markOf(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    const QPoint centre = Marker.center();
    if (!picture.rect().contains(centre))
        return -1;
    const Colour colour = pixelColour(picture, centre.x(), centre.y());
    return (colour & 0xFFFF00) == 0x090700 ? (colour & 0xFF) : -1;
}

QImage fixturePicture(const QString& name)
{
    if (name == QLatin1String("pointer-run") || name == QLatin1String("pointer-idle")) {
        QImage pointer(32, 32, QImage::Format_ARGB32);
        pointer.fill(name == QLatin1String("pointer-run") ? QRgb(keyrgb::Red) : QRgb(keyrgb::Green));
        return pointer;
    }
    if (name == QLatin1String("menu-cs"))
        return keyBoard(MenuCzech);
    if (name == QLatin1String("menu-en"))
        return keyBoard(MenuEnglish);
    if (name == QLatin1String("closing"))
        return keyBoard(21);
    if (name.startsWith(QLatin1String("level-")))
        return keyBoard(name.mid(6).toInt());
    return {};
}

QPoint findColour(const QImage& picture, Colour colour)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (pixelColour(picture, x, y) == colour)
                return {x, y};
    return {-1, -1};
}

} // namespace zw::test
