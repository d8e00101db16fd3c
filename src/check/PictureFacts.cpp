#include "check/PictureFacts.h"
#include "check/KeyColour.h"
#include "base/Levels.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace zw::check {

const std::vector<PictureInfo>& allPictures()
{
    static const std::vector<PictureInfo> pictures = [] {
        std::vector<PictureInfo> p;
        p.push_back({QStringLiteral("menu-cs.png"), PictureKind::Menu, 0, false});
        p.push_back({QStringLiteral("menu-en.png"), PictureKind::Menu, 0, true});
        for (int level = zw::FirstMaze; level <= zw::LastMaze; ++level)
            p.push_back({zw::levelPictureFile(level), PictureKind::Level, level});
        p.push_back({QStringLiteral("closing.png"), PictureKind::Closing, zw::ClosingLevel});
        p.push_back({QStringLiteral("pointer-run.png"), PictureKind::Pointer, -1, false, true});
        p.push_back({QStringLiteral("pointer-idle.png"), PictureKind::Pointer, -1, false, false});
        return p;
    }();
    return pictures;
}

std::optional<PictureInfo> pictureByFile(const QString& file)
{
    for (const PictureInfo& p : allPictures())
        if (p.file == file)
            return p;
    return std::nullopt;
}

namespace {

// Start box, goal boxes and deliberate inert pixels of each maze level.
QRect sq(int x1, int y1, int size) { return box(x1, y1, x1 + size - 1, y1 + size - 1); }

const std::vector<LevelFacts>& levelTable()
{
    static const std::vector<LevelFacts> table = {
        {1, sq(69, 117, 25), {sq(562, 378, 25)}, 0},
        {2, sq(69, 117, 25), {sq(562, 378, 25)}, 0},
        {3, sq(29, 161, 25), {sq(52, 349, 25)}, 0},
        {4, sq(134, 103, 25), {sq(535, 407, 25)}, 0},
        {5, sq(23, 206, 25), {sq(575, 201, 25)}, 0},
        {6, sq(131, 77, 25), {sq(548, 406, 25)}, 0},
        {7, sq(397, 142, 17), {sq(183, 391, 17)}, 62},
        {8, sq(15, 257, 25), {sq(499, 171, 25), sq(499, 351, 25)}, 0},
        {9, sq(557, 373, 25), {sq(214, 178, 25)}, 0},
        {10, sq(28, 208, 25), {box(265, 292, 289, 317)}, 0},
        {11, sq(32, 449, 17), {sq(73, 359, 17)}, 0},
        {12, sq(33, 370, 25), {sq(592, 87, 25)}, 0},
        {13, sq(33, 370, 25), {sq(145, 347, 17)}, 0},
        {14, sq(33, 370, 25), {sq(211, 224, 17)}, 0},
        {15, sq(285, 224, 17), {sq(26, 81, 17)}, 0},
        {16, sq(41, 168, 25), {sq(153, 179, 25)}, 1},
        {17, sq(81, 148, 25), {sq(79, 350, 25)}, 0},
        {18, sq(114, 157, 25), {sq(533, 156, 25)}, 0},
        {19, sq(34, 108, 25), {sq(33, 388, 25)}, 0},
        {20, sq(14, 399, 17), {sq(600, 96, 17)}, 0},
    };
    return table;
}

} // namespace

const LevelFacts& levelFacts(int level)
{
    if (level < zw::FirstMaze || level > zw::LastMaze)
        throw std::out_of_range("no maze of that level");
    return levelTable()[std::size_t(level - 1)];
}

QPoint discCentre(const QRect& b)
{
    const int r = (std::min(b.width(), b.height()) - 1) / 2;
    return {b.left() + r, b.top() + r};
}

std::vector<QPoint> discPixels(const QRect& b)
{
    // Every pixel within radius r of one of the centres (dx^2 + dy^2 <= r^2),
    // the centres being all pixels that leave the disc inside the box.
    const int r = (std::min(b.width(), b.height()) - 1) / 2;
    std::set<std::pair<int, int>> seen; // (y, x): reading order
    for (int cy = b.top() + r; cy <= b.bottom() - r; ++cy)
        for (int cx = b.left() + r; cx <= b.right() - r; ++cx)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if (dx * dx + dy * dy <= r * r)
                        seen.insert({cy + dy, cx + dx});
    std::vector<QPoint> out;
    out.reserve(seen.size());
    for (const auto& [y, x] : seen)
        out.emplace_back(x, y);
    return out;
}

} // namespace zw::check
