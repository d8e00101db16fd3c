#include "BuiltInPictures.h"

namespace zw::reliability {

const PictureStore& builtInPictures()
{
    static const PictureStore store;
    return store;
}

const SampleAtlas& builtInAtlas()
{
    static const SampleAtlas atlas(builtInPictures());
    return atlas;
}

std::unique_ptr<Game> gameOn(Platform& platform, const PictureStore& pictures)
{
    return std::make_unique<Game>(platform, [&pictures] { return std::make_unique<PictureStore>(pictures); });
}

QPointF continueSpot(const SampleAtlas& atlas, const PictureStore& pictures)
{
    const PictureSamples* menu = atlas.of(pictures.Picture4());
    const std::vector<QPoint>& points = menu->points[std::size_t(slotOf(ColorContinue))];
    // Any pixel of the item's colour is the item: its colour is all the game asks.
    const QPoint spot = points[points.size() / 2];
    return {spot.x() + 0.5, spot.y() + 0.5};
}

} // namespace zw::reliability
