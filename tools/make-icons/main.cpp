// Writes the desktop icons of the game: zigwalk-make-icons <pointer.png> <folder>.
// The icon is the red ring of the run pointer, cut out as a 16 x 16 square
// around it and enlarged by whole factors with every pixel repeated, so each
// size stays as sharp as the pointer the player steers. Each size lands in
// <folder>/<N>x<N>/zigwalk.png, the layout of the hicolor icon theme.
// Beside it, application-x-zigwalk-pack.png: the icon of a level pack, a
// sheet with a little maze from a red start to a green goal, drawn here
// pixel by pixel and enlarged the same way.

#include "base/ColorKey.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

// The ring sits inside (10,10)-(21,21) of the 32 x 32 pointer; this square
// has it in the middle with two clear pixels on every side.
const QRect RingSquare(8, 8, 16, 16);

// A level pack: a sheet with a folded corner, and on it a black path from
// the red start to the green goal. ' ' clear, '#' the sheet's edge, '.' the
// sheet (a wall), 'k' path, 'R' start, 'G' goal.
const char* const PackIcon[16] = {
    "  #########     ",
    "  #.......##    ",
    "  #.......#.#   ",
    "  #.......####  ",
    "  #..........#  ",
    "  #.RR.......#  ",
    "  #.RRkkkk...#  ",
    "  #......k...#  ",
    "  #......k...#  ",
    "  #...kkkk...#  ",
    "  #...k......#  ",
    "  #...kkkkGG.#  ",
    "  #.......GG.#  ",
    "  #..........#  ",
    "  ############  ",
    "                ",
};

QImage packIcon()
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            QRgb c = 0;
            switch (PackIcon[y][x]) {
            case '#': c = 0xFF303030u; break;
            case '.': c = zw::keyrgb::White; break;
            case 'k': c = zw::keyrgb::Black; break;
            case 'R': c = zw::keyrgb::Red; break;
            case 'G': c = zw::keyrgb::Green; break;
            default: break;
            }
            icon.setPixel(x, y, c);
        }
    return icon;
}

// 16, 32, 48, 64, 128 and 256 pixels.
constexpr int Factors[] = {1, 2, 3, 4, 8, 16};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <pointer.png> <folder>\n", argv[0]);
        return 2;
    }
    const QString pointerPath = QString::fromLocal8Bit(argv[1]);
    const QImage pointer(pointerPath);
    if (pointer.isNull() || pointer.size() != QSize(32, 32)) {
        std::fprintf(stderr, "%s: not a 32 x 32 picture\n", argv[1]);
        return 1;
    }
    const QImage ring = pointer.copy(RingSquare).convertToFormat(QImage::Format_ARGB32);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    for (int factor : Factors) {
        const int size = RingSquare.width() * factor;
        // Qt::FastTransformation is nearest-neighbour: with a whole factor
        // every source pixel becomes a factor x factor block of one colour.
        const QImage icon = ring.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QImage pack = packIcon().scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString sizeName = QStringLiteral("%1x%1").arg(size);
        if (!folder.mkpath(sizeName) || !icon.save(folder.filePath(sizeName + QStringLiteral("/zigwalk.png")), "PNG") ||
            !pack.save(folder.filePath(sizeName + QStringLiteral("/application-x-zigwalk-pack.png")), "PNG")) {
            std::fprintf(stderr, "cannot write the %s icon\n", qPrintable(sizeName));
            return 1;
        }
    }
    return 0;
}
