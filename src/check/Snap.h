#pragma once
// Turns a picture painted in any paint program into one a maze may be: every
// pixel becomes the nearest of the colours a player's maze holds, so soft
// anti-aliased edges become hard ones.

#include <QImage>

namespace zw::check {

struct Snapped {
    QImage image;     // the input's size, RGB, key colours only
    qint64 changed = 0; // pixels whose colour changed
};

// Transparent pixels count as laid on white. Pixels with little colour in
// them (greys, the soft edge between black and white) become black or
// white by their brightness, never a colour that acts: a grey edge pixel
// must not turn into a way back to the menu beside the path. The rest go to
// the nearest of black, white, red, green and dark red; dark red that lies
// beside black or red is the soft edge of a red disc on the path and becomes
// black. Orange, the home page's link, stays where it is painted exactly,
// but no other colour is turned into it: a maze needs none.
Snapped snapToMazeColours(const QImage& picture);

} // namespace zw::check
