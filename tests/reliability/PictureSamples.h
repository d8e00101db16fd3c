#pragma once
// Where to put the pointer to land on a given colour of a given picture. The
// game keeps no geometry, so the players of these tests find their targets
// the way a person does: by looking at the pictures. Every picture of the
// store is scanned once and a spread of points is kept for each key colour
// and for the inert colours.

#include "base/ColorKey.h"
#include "assets/PictureStore.h"

#include <QImage>
#include <QPoint>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace zw::reliability {

// The nine key colours, then a slot for every colour that means nothing.
inline constexpr std::array<Colour, 9> KeyColours{
    ColorInfo, ColorContinue, ColorNewGame, ColorQuit, ColorLink,
    ColorStart, ColorWall, ColorGoal, ColorMenu,
};
inline constexpr int InertSlot = 9;
inline constexpr int Slots = 10;

// The slot of a colour: its place in KeyColours, or InertSlot.
int slotOf(Colour colour);

struct PictureSamples {
    // points[slot]: pixels of that colour, spread over the whole picture in
    // reading order; empty when the picture has none of it.
    std::array<std::vector<QPoint>, Slots> points;
    // The slots that have points, so that a random pick always hits something.
    std::vector<int> present;
};

class SampleAtlas {
public:
    // perSlot bounds how many points are kept for each colour of a picture.
    explicit SampleAtlas(const PictureStore& store, int perSlot = 64);

    // The samples of a picture of the store (copies share it); nullptr for
    // any other picture.
    const PictureSamples* of(const QImage& picture) const;

    // Every distinct picture of the store, in a fixed order.
    const std::vector<const PictureSamples*>& all() const { return ordered_; }

private:
    std::map<qint64, PictureSamples> byKey_;
    std::vector<const PictureSamples*> ordered_;
};

} // namespace zw::reliability
