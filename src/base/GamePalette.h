#pragma once
// The one 256-entry palette every full-window picture carries: the 16 basic
// colours, 24 further black entries, then the 6 x 6 x 6 colour cube of the
// channel values 0, 51, 102, 153, 204, 255 with red varying slowest.

#include <QColor>
#include <QList>
#include <QRgb>

namespace zw {

inline QList<QRgb> gamePalette()
{
    QList<QRgb> p;
    const QRgb basic[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    for (QRgb c : basic)
        p.append(c);
    for (int i = 0; i < 24; ++i)
        p.append(qRgb(0, 0, 0));
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.append(qRgb(r * 51, g * 51, b * 51));
    return p;
}

} // namespace zw
