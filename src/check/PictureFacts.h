#pragma once
// What the checker knows about each picture of the game: its file name, what
// kind of picture it is, and for the mazes where the start and goal discs sit.

#include <QRect>
#include <QString>
#include <optional>
#include <vector>

namespace zw::check {

enum class PictureKind { Menu, Level, Closing, Pointer };

struct PictureInfo {
    QString file;     // "level-05.png"
    PictureKind kind;
    int level;        // 1..20 for mazes, 0 for the menus, 21 for the closing picture, -1 pointers
    bool english = false; // menu-en
    bool run = false;     // pointer-run (red band) rather than pointer-idle (green band)
};

// The 24 full-window pictures and the two pointers, in the order the game numbers them.
const std::vector<PictureInfo>& allPictures();
std::optional<PictureInfo> pictureByFile(const QString& file);

// Start and goal spots of a maze level, as boxes with both corners included.
// A square box of 25 or 17 pixels holds one disc of radius 12 or 8 around its
// centre pixel; a box one pixel taller (level 10's goal) holds the union of the
// two discs centred on its two middle rows.
struct LevelFacts {
    int level;
    QRect start;
    std::vector<QRect> goals;
    int inertPixels; // pixels of colours outside the key that the level carries on purpose
};

const LevelFacts& levelFacts(int level); // level 1..20

// The pixels of the disc (or disc union) that fills a start or goal box.
std::vector<QPoint> discPixels(const QRect& box);
// The centre pixel of such a box (the upper one of two for level 10's goal).
QPoint discCentre(const QRect& box);

} // namespace zw::check
