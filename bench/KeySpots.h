#pragma once
// Points of a picture where a key colour lies, for aiming benchmark events
// at every zone a picture has, found the way the game sees them: by the
// colour of the pixel.

#include "base/ColorKey.h"

#include <QImage>
#include <vector>

namespace zw::bench {

struct KeySpot {
    Colour colour;
    int x, y;
};

// Up to perColour points of each key colour found in the picture, spread
// evenly over that colour's pixels in reading order.
std::vector<KeySpot> keySpots(const QImage& picture, int perColour);

// The first point of colour whose four neighbours share it, so a pointer
// placed there is well inside the zone; (-1, -1) if there is none.
KeySpot innerSpot(const QImage& picture, Colour colour);

} // namespace zw::bench
