// The two pointer pictures: a coloured ring with a black outline on both
// sides around an open middle, so the player sees the very pixel under the
// hot spot (16,16) whose colour the game tests.

#include "check/FloodFill.h"
#include "check/Rules.h"
#include "base/ColorKey.h"

namespace zw::check {

namespace {

const QRect ringBox = box(10, 10, 21, 21);
const QRect middleBox = box(14, 14, 17, 17);
const QPoint hotSpot(16, 16);

} // namespace

void checkPointer(const PictureInfo& info, const QImage& image, Findings& out)
{
    if (image.width() != 32 || image.height() != 32) {
        out.add(QStringLiteral("size"), QStringLiteral("expected 32 x 32, found %1 x %2").arg(image.width()).arg(image.height()));
        return;
    }
    if (!image.hasAlphaChannel()) {
        out.add(QStringLiteral("transparency"), QStringLiteral("the picture has no alpha channel"));
        return;
    }
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb band = info.run ? QRgb(zw::keyrgb::Red) : QRgb(zw::keyrgb::Green);
    const QString bandName = info.run ? QStringLiteral("red") : QStringLiteral("green");

    int bandCount = 0, outlineCount = 0;
    std::vector<QPoint> foreign, outside;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = img.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            if (!ringBox.contains(x, y))
                outside.emplace_back(x, y);
            if (c == band)
                ++bandCount;
            else if (c == qRgb(0, 0, 0))
                ++outlineCount;
            else
                foreign.emplace_back(x, y); // half transparent or another colour
        }
    if (!foreign.empty())
        out.add(QStringLiteral("pointer colours"),
                QStringLiteral("pixels neither transparent, opaque %1 nor opaque black: %2").arg(bandName, countAndFirst(foreign)),
                foreign.front());
    if (bandCount != 44)
        out.add(QStringLiteral("band"), QStringLiteral("expected 44 %1 pixels, found %2").arg(bandName).arg(bandCount));
    if (outlineCount != 40)
        out.add(QStringLiteral("outline"), QStringLiteral("expected 40 black pixels, found %1").arg(outlineCount));
    if (!outside.empty())
        out.add(QStringLiteral("ring box"), QStringLiteral("visible pixels outside %1: %2").arg(boxText(ringBox), countAndFirst(outside)),
                outside.front());

    // The open middle: the transparent pixels 4-connected to the hot spot.
    if (qAlpha(img.pixel(hotSpot)) != 0) {
        out.add(QStringLiteral("open middle"), QStringLiteral("the hot spot %1 is not transparent").arg(pointText(hotSpot)), hotSpot);
        return;
    }
    std::vector<QPoint> middle;
    std::vector<std::uint8_t> seen(32 * 32, 0);
    floodFill(QSize(32, 32), {hotSpot}, Touch::Sides, seen, [&img](int x, int y) { return qAlpha(img.pixel(x, y)) == 0; },
              [&middle](QPoint p) { middle.push_back(p); });
    std::vector<QPoint> escaped;
    for (const QPoint& p : middle)
        if (!middleBox.contains(p))
            escaped.push_back(p);
    if (!escaped.empty())
        out.add(QStringLiteral("open middle"),
                QStringLiteral("the ring does not close the middle within %1: open at %2").arg(boxText(middleBox), pointText(escaped.front())),
                escaped.front());
    else if (middle.size() != 12)
        out.add(QStringLiteral("open middle"), QStringLiteral("expected 12 transparent pixels around the hot spot, found %1").arg(middle.size()),
                hotSpot);
}

} // namespace zw::check
