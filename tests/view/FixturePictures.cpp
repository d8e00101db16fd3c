#include "FixturePictures.h"
#include "base/Levels.h"

#include <QPainter>

namespace zw::test {

QColor keyColour(Colour colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

namespace {

QImage pointer(Colour ring)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(10, 10, 12, 12), keyColour(ring));
    painter.fillRect(QRect(14, 14, 4, 4), Qt::transparent);
    return image;
}

QImage menuPicture(const QColor& marker)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(keyColour(ColorInfo));
    QPainter painter(&image);
    painter.fillRect(menu::Continue, keyColour(ColorContinue));
    painter.fillRect(menu::NewGame, keyColour(ColorNewGame));
    painter.fillRect(menu::Quit, keyColour(ColorQuit));
    painter.fillRect(menu::Link, keyColour(ColorLink));
    painter.fillRect(menu::Start, keyColour(ColorStart));
    painter.fillRect(menu::Wall, keyColour(ColorWall));
    painter.fillRect(Marker, marker);
    return image;
}

QImage levelPicture(int number)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(keyColour(ColorWall));
    QPainter painter(&image);
    painter.fillRect(level::Path, keyColour(ColorInfo));
    painter.fillRect(level::Start, keyColour(ColorStart));
    painter.fillRect(level::Goal, keyColour(ColorGoal));
    painter.fillRect(level::Badge, keyColour(ColorMenu));
    painter.fillRect(Marker, QColor(0, 20 + 10 * number, 200));
    return image;
}

} // namespace

QImage fixturePicture(const QString& name)
{
    if (name == QLatin1String("pointer-run"))
        return pointer(ColorStart);
    if (name == QLatin1String("pointer-idle"))
        return pointer(ColorGoal);
    if (name == QLatin1String("menu-cs"))
        return menuPicture(QColor(0, 0, 153));
    if (name == QLatin1String("menu-en"))
        return menuPicture(QColor(0, 153, 0));
    if (name == QLatin1String("closing"))
        return levelPicture(ClosingLevel);
    return levelPicture(name.mid(6).toInt()); // "level-07"
}

} // namespace zw::test
