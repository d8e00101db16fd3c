// The random players aim by colour; their aim must be true, or a test that
// means to press the goal presses something else and proves nothing.

#include "BuiltInPictures.h"
#include "base/Levels.h"

#include <gtest/gtest.h>

namespace zw::reliability {
namespace {

TEST(PictureSamples, EverySampleLiesOnItsColour)
{
    const PictureStore& store = builtInPictures();
    for (int level = 0; level < PictureStore::LevelCount; ++level) {
        const QImage& picture = store.Picture3(std::int16_t(level));
        const PictureSamples* samples = builtInAtlas().of(picture);
        ASSERT_NE(samples, nullptr) << level;
        for (int slot : samples->present)
            for (const QPoint& p : samples->points[std::size_t(slot)])
                ASSERT_EQ(slotOf(pixelColour(picture, p.x(), p.y())), slot)
                    << "level " << level << " at " << p.x() << ", " << p.y();
    }
}

TEST(PictureSamples, EveryPictureOffersTheColoursThePlayersNeed)
{
    const PictureStore& store = builtInPictures();
    const auto has = [](const QImage& picture, Colour colour) {
        return !builtInAtlas().of(picture)->points[std::size_t(slotOf(colour))].empty();
    };
    for (const QImage& menu : {store.Picture4(), store.Picture5()})
        for (Colour colour : {ColorContinue, ColorNewGame, ColorQuit, ColorLink, ColorStart, ColorWall})
            EXPECT_TRUE(has(menu, colour)) << std::hex << colour;
    for (int level = FirstMaze; level <= LastMaze; ++level)
        for (Colour colour : {ColorStart, ColorGoal, ColorWall, ColorMenu, ColorLink})
            EXPECT_TRUE(has(store.Picture3(std::int16_t(level)), colour)) << "level " << level << std::hex << colour;
    EXPECT_TRUE(has(store.Picture3(ClosingLevel), ColorMenu));
}

} // namespace
} // namespace zw::reliability
