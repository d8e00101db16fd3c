// Size, palette and opacity of the full-window pictures. The game shows them
// unscaled and compares exact colours, so a picture of another size or with a
// different palette would change what the pointer finds under it.

#include "check/Rules.h"
#include "base/GamePalette.h"
#include "base/PictureSize.h"

namespace zw::check {

namespace {

QString hex(QRgb c)
{
    const QString rgb = QStringLiteral("#%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
    return qAlpha(c) == 255 ? rgb : rgb + QStringLiteral(" with alpha %1").arg(qAlpha(c));
}

} // namespace

bool checkFormat(const PictureInfo& info, const QImage& image, Findings& out)
{
    if (image.size() != QSize(PictureWidth, PictureHeight)) {
        out.add(QStringLiteral("size"), QStringLiteral("expected %1 x %2, found %3 x %4")
                                            .arg(PictureWidth)
                                            .arg(PictureHeight)
                                            .arg(image.width())
                                            .arg(image.height()));
        return false;
    }
    if (image.format() != QImage::Format_Indexed8) {
        out.add(QStringLiteral("palette"), QStringLiteral("not an 8-bit palette picture"));
    } else {
        const QList<QRgb> expected = zw::gamePalette();
        const QList<QRgb> found = image.colorTable();
        if (found.size() != expected.size()) {
            out.add(QStringLiteral("palette"), QStringLiteral("expected %1 entries, found %2")
                                                   .arg(expected.size())
                                                   .arg(found.size()));
        } else {
            for (int i = 0; i < expected.size(); ++i)
                if (found[i] != expected[i]) {
                    out.add(QStringLiteral("palette"), QStringLiteral("entry %1 is %2, expected %3")
                                                           .arg(i)
                                                           .arg(hex(found[i]))
                                                           .arg(hex(expected[i])));
                    break;
                }
        }
    }
    // Transparency: the window would show its own background through it.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255) {
                out.add(QStringLiteral("opaque"),
                        QStringLiteral("pixel %1 is not fully opaque").arg(pointText({x, y})), {x, y});
                return true;
            }
    return true;
}

} // namespace zw::check
