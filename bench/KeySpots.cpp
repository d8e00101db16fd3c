#include "KeySpots.h"

#include "assets/PictureStore.h"

#include <array>

namespace zw::bench {

namespace {

constexpr std::array<Colour, 9> KeyColours{ColorInfo,  ColorContinue, ColorNewGame,
                                           ColorQuit,  ColorLink,     ColorStart,
                                           ColorWall,  ColorGoal,     ColorMenu};

} // namespace

std::vector<KeySpot> keySpots(const QImage& picture, int perColour)
{
    std::array<std::vector<int>, KeyColours.size()> pixels;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Colour colour = pixelColour(picture, x, y);
            for (std::size_t k = 0; k < KeyColours.size(); ++k) {
                if (colour == KeyColours[k]) {
                    pixels[k].push_back(y * picture.width() + x);
                    break;
                }
            }
        }
    }

    std::vector<KeySpot> spots;
    for (std::size_t k = 0; k < KeyColours.size(); ++k) {
        const auto& found = pixels[k];
        if (found.empty())
            continue;
        const int count = std::min<int>(perColour, static_cast<int>(found.size()));
        for (int i = 0; i < count; ++i) {
            // The middle of each of count equal slices of the colour's pixels.
            const auto at = found[(static_cast<std::size_t>(2 * i + 1) * found.size()) / (2 * count)];
            spots.push_back({KeyColours[k], at % picture.width(), at / picture.width()});
        }
    }
    return spots;
}

KeySpot innerSpot(const QImage& picture, Colour colour)
{
    for (int y = 1; y + 1 < picture.height(); ++y) {
        for (int x = 1; x + 1 < picture.width(); ++x) {
            if (pixelColour(picture, x, y) == colour && pixelColour(picture, x - 1, y) == colour
                && pixelColour(picture, x + 1, y) == colour && pixelColour(picture, x, y - 1) == colour
                && pixelColour(picture, x, y + 1) == colour)
                return {colour, x, y};
        }
    }
    return {colour, -1, -1};
}

} // namespace zw::bench
