// zigwalk-pack-pictures OUTPUT-FOLDER PICTURE.png...
//
// Writes each drawn full-window picture in the packed form that the game
// carries (assets/PackedPicture.h), as OUTPUT-FOLDER/<name>.zwp. Every
// packed picture is read back and compared with its PNG pixel by pixel, so
// a colour that would reach the screen changed stops the build instead.

#include "assets/PackedPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdio>

namespace {

bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

bool pack(const QString& source, const QString& folder)
{
    const QImage drawn(source);
    if (drawn.isNull()) {
        std::fprintf(stderr, "zigwalk-pack-pictures: cannot read %s\n", qPrintable(source));
        return false;
    }
    const QByteArray packed = zw::packPicture(drawn);
    if (packed.isEmpty()) {
        std::fprintf(stderr, "zigwalk-pack-pictures: %s is not an 8-bit indexed picture\n",
                     qPrintable(source));
        return false;
    }
    const QImage back = zw::unpackPicture(reinterpret_cast<const uchar*>(packed.constData()), packed.size());
    if (!samePixels(drawn, back)) {
        std::fprintf(stderr, "zigwalk-pack-pictures: %s does not survive packing\n", qPrintable(source));
        return false;
    }
    const QString target = folder + QLatin1Char('/') + QFileInfo(source).completeBaseName() + QStringLiteral(".zwp");
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(packed) != packed.size()) {
        std::fprintf(stderr, "zigwalk-pack-pictures: cannot write %s\n", qPrintable(target));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zigwalk-pack-pictures OUTPUT-FOLDER PICTURE.png...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int i = 2; i < argc; ++i)
        ok &= pack(QString::fromLocal8Bit(argv[i]), folder);
    return ok ? 0 : 1;
}
