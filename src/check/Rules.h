#pragma once
// The rules every picture of the game is held to. Each rule appends what it
// finds broken to the picture's findings; a clean picture yields none.

#include "check/Finding.h"
#include "check/KeyColour.h"
#include "check/PictureBoxes.h"
#include "check/PictureFacts.h"
#include "check/Playability.h"

#include <QImage>
#include <vector>

namespace zw::check {

// Every rule that concerns one picture on its own. `image` is the picture as
// decoded from its file (palette intact for the full-window pictures). When
// `ways` is given it receives a maze's ways as the path rule measured them
// (left empty for other pictures and for a maze of the wrong size), so that
// the difficulty curve and the reports need not measure the maze again.
std::vector<Finding> checkPicture(const PictureInfo& info, const QImage& image,
                                  std::vector<PathMeasure>* ways = nullptr);

// The rule between two pictures: both menus are identical outside the three
// item boxes, where only the captions differ.
std::vector<Finding> checkMenuPair(const QImage& czech, const QImage& english);

// The single rules, in the order checkPicture runs them. The format rules
// return false when the size is wrong, as every later rule works on coordinates.
bool checkFormat(const PictureInfo& info, const QImage& image, Findings& out);
void checkKeyColours(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkInertPixels(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkTopStrip(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkBadge(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkDiscs(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkPath(const PictureInfo& info, const KeyMap& keys, const std::vector<PathMeasure>& ways, Findings& out);
void checkLoneWalls(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkMenu(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkClosing(const PictureInfo& info, const KeyMap& keys, Findings& out);
void checkPointer(const PictureInfo& info, const QImage& image, Findings& out);

// Messages list at most a first pixel and a count; this keeps a line short.
QString countAndFirst(const std::vector<QPoint>& pixels);

namespace wall {
// A piece of wall below the badge row smaller than this is a speck: a
// 4 x 4 post has 16 px, a stub of two pixels 2; the smallest wall a maze
// draws on purpose, a bar 8 px across and 8 long, has 64.
constexpr int leastPiece = 64;
} // namespace wall

} // namespace zw::check
