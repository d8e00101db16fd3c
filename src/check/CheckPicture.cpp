// Runs the rules that apply to one picture, by its kind.

#include "check/Rules.h"

namespace zw::check {

QString countAndFirst(const std::vector<QPoint>& pixels)
{
    if (pixels.empty())
        return QStringLiteral("0 px");
    return QStringLiteral("%1 px, first at %2").arg(pixels.size()).arg(pointText(pixels.front()));
}

std::vector<Finding> checkPicture(const PictureInfo& info, const QImage& image, std::vector<PathMeasure>* ways)
{
    Findings out(info.file);
    if (info.kind == PictureKind::Pointer) {
        checkPointer(info, image, out);
        return out.take();
    }
    if (!checkFormat(info, image, out))
        return out.take();
    const KeyMap keys(image);
    checkKeyColours(info, keys, out);
    checkInertPixels(info, keys, out);
    checkTopStrip(info, keys, out);
    switch (info.kind) {
    case PictureKind::Level: {
        checkBadge(info, keys, out);
        checkDiscs(info, keys, out);
        std::vector<PathMeasure> measured = measureLevel(keys, info.level);
        checkPath(info, keys, measured, out);
        checkLoneWalls(info, keys, out);
        if (ways)
            *ways = std::move(measured);
        break;
    }
    case PictureKind::Closing:
        checkBadge(info, keys, out);
        checkClosing(info, keys, out);
        break;
    case PictureKind::Menu:
        checkMenu(info, keys, out);
        break;
    case PictureKind::Pointer:
        break;
    }
    return out.take();
}

} // namespace zw::check
