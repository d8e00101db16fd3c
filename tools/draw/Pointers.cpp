// The two pointer pictures: a coloured ring with a thin black outline around
// an open middle, so the player sees the very pixel whose colour is tested.

#include "draw/Pictures.h"

namespace zw::art {

QImage drawPointer(bool run)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const QRgb band = run ? QRgb(keyrgb::Red) : QRgb(keyrgb::Green);
    // Centre between pixels 15 and 16 is at 15.5; distances measured from there.
    for (int y = 10; y <= 21; ++y)
        for (int x = 10; x <= 21; ++x) {
            // Squared distances: open middle up to 2.5 (12 pixels), inner
            // outline to 6.5 (12), band to 20.5 (44), outer outline to 30.5 (28).
            const double d2 = (x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5);
            if (d2 <= 2.5)
                continue;
            if (d2 <= 6.5)
                img.setPixel(x, y, qRgb(0, 0, 0));
            else if (d2 <= 20.5)
                img.setPixel(x, y, band);
            else if (d2 <= 30.5)
                img.setPixel(x, y, qRgb(0, 0, 0));
        }
    return img;
}

} // namespace zw::art
