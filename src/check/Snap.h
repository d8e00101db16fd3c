#pragma once
// Turns a picture painted in any paint program into one in the colour key,
// keeping what was painted: soft anti-aliased edges become hard ones, and no
// colour that acts appears where it was not painted.

#include "check/KeyColour.h"

#include <QImage>
#include <array>

namespace zw::check {

struct Snapped {
    QImage image;        // RGB, the input's size, key colours only
    qint64 changed = 0;  // pixels whose colour changed
    std::array<qint64, KeyCount> changedTo{}; // of those, how many became each key colour
};

// Transparent pixels count as laid on white. Then, pixel by pixel:
// - a pixel in the key stays as it is, unless a blend hit the key by
//   chance: the middle of an edge that runs soft between two other colours,
//   or a lone pixel among soft ones beside colours that blend into it;
// - a pixel close to one key colour (a JPEG's noise, a colour profile's
//   small shift) takes that colour, and so does a pixel that only a blend
//   of that colour with one around it explains, with that colour as its
//   larger part (the middle of a thin soft stroke); a colour that two others
//   blend into (greys, dark red) counts so only where neither is around or
//   it fills the pixel's whole neighbourhood;
// - any other pixel is an edge between painted areas: of the key colours
//   painted within 2 px of it, it takes the one that the blend which best
//   explains it holds most of; where those explain it badly, black or white
//   join in, and where none is painted near, it is black or white by its
//   brightness.
// Every piece of a colour that acts holds a painted pixel of that colour:
// a pixel that would start a piece of its own takes its next best colour.
Snapped snapToKeyColours(const QImage& picture);

} // namespace zw::check
