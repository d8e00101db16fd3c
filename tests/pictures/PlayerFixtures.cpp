#include "PlayerFixtures.h"

#include "base/ColorKey.h"
#include "base/Levels.h"
#include "base/PictureSize.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <stdexcept>

namespace zw::fixtures {

QImage playerLevel()
{
    QImage img(PictureWidth, PictureHeight, QImage::Format_RGB32);
    img.fill(QRgb(keyrgb::White));
    QPainter p(&img); // no anti-aliasing: hard edges in key colours only
    p.fillRect(60, 220, 520, 40, QColor::fromRgb(keyrgb::Black));
    p.fillRect(70, 230, 20, 20, QColor::fromRgb(keyrgb::Red));
    p.fillRect(550, 230, 20, 20, QColor::fromRgb(keyrgb::Green));
    p.fillRect(20, 20, 30, 30, QColor::fromRgb(keyrgb::DarkRed));
    p.end();
    return img;
}

QImage paintedLevel(int variant)
{
    QImage img(PictureWidth, PictureHeight, QImage::Format_RGB32);
    img.fill(QRgb(keyrgb::White));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath way(QPointF(90, 240));
    way.cubicTo(QPointF(250, 240 - 60.0 * variant), QPointF(390, 240 + 60.0 * variant), QPointF(550, 240));
    p.strokePath(way, QPen(QColor::fromRgb(keyrgb::Black), 56, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(keyrgb::Red));
    p.drawEllipse(QPointF(90, 240), 14, 14);
    p.setBrush(QColor::fromRgb(keyrgb::Green));
    p.drawEllipse(QPointF(550, 240), 14, 14);
    p.setBrush(QColor::fromRgb(keyrgb::DarkRed));
    p.drawEllipse(QPointF(40, 40), 20, 20);
    p.end();
    return img;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

void writePlayerFolder(const QString& folder, int levels)
{
    QDir().mkpath(folder);
    for (int k = 1; k <= levels; ++k)
        if (!playerLevel().save(QDir(folder).filePath(zw::levelPictureFile(k))))
            throw std::runtime_error("cannot write a fixture level");
}

} // namespace zw::fixtures
