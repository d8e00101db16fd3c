#include "view/MouseMapping.h"

#include <cmath>
#include <vector>

namespace zw::view {

std::int16_t buttonBits(Qt::MouseButtons buttons)
{
    // Qt numbers its buttons with the same bits the rules use (left 1, right 2,
    // middle 4, back 8, forward 16...). The rules keep them in a signed 16-bit
    // value, so the exotic buttons beyond bit 14 are left out rather than
    // turning the value negative.
    return static_cast<std::int16_t>(buttons.toInt() & 0x7FFF);
}

std::int16_t shiftBits(Qt::KeyboardModifiers modifiers)
{
    std::int16_t bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

int picturePixel(int devicePixel, double scale)
{
    if (!(scale > 0))
        scale = 1;
    return static_cast<int>(std::floor((devicePixel + 0.5) / scale));
}

int devicePixelAt(double devicePosition)
{
    constexpr double Slack = 1.0 / 1024;
    return static_cast<int>(std::floor(devicePosition + Slack));
}

QPointF pictureSpot(QPointF windowPosition, double scale)
{
    if (!(scale > 0))
        scale = 1;
    return {double(picturePixel(devicePixelAt(windowPosition.x() * scale), scale)),
            double(picturePixel(devicePixelAt(windowPosition.y() * scale), scale))};
}

namespace {

// How many screen pixels the picture's `size` pixels cover along one axis.
int screenExtent(int size, double scale)
{
    int n = 0;
    while (picturePixel(n, scale) < size)
        ++n;
    return n;
}

} // namespace

QImage pictureOnScreen(const QImage& picture, double scale)
{
    if (picture.isNull())
        return {};
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int width = screenExtent(source.width(), scale);
    const int height = screenExtent(source.height(), scale);
    std::vector<int> columns(width);
    for (int x = 0; x < width; ++x)
        columns[x] = picturePixel(x, scale);
    QImage shown(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(picturePixel(y, scale)));
        auto* to = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[columns[x]];
    }
    shown.setDevicePixelRatio(scale);
    return shown;
}

} // namespace zw::view
