// The picture store, the colour of a pixel and the window's colour query.

#include "GameHarness.h"

#include "base/RuntimeError.h"
#include "base/Levels.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace zw::test {
namespace {

TEST(PictureStore, LoadsEveryPictureOnceAndSharesTheCzechMenu)
{
    QStringList loaded;
    PictureStore store([&](const QString& name) {
        loaded << name;
        return fixturePicture(name);
    });
    EXPECT_EQ(loaded.size(), 25);
    EXPECT_EQ(QSet<QString>(loaded.begin(), loaded.end()).size(), 25);
    EXPECT_EQ(store.Picture3(0).cacheKey(), store.Picture4().cacheKey());
    for (int level = MenuLevel; level <= ClosingLevel; ++level)
        EXPECT_EQ(markOf(store.Picture3(std::int16_t(level))), level == 0 ? MenuCzech : level);
    EXPECT_EQ(markOf(store.Picture5()), MenuEnglish);
}

TEST(PictureStore, ElementOutsideTheArrayIsAnError)
{
    PictureStore store(&fixturePicture);
    for (std::int16_t index : {-1, LevelPictureCount, 32767, -32768}) {
        try {
            store.Picture3(index);
            ADD_FAILURE() << "no error for " << index;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), RuntimeError::NoSuchControlElement);
            EXPECT_NE(std::string(error.what()).find("'" + std::to_string(index) + "'"), std::string::npos);
        }
    }
}

TEST(PictureStore, MenuSlotTakesTheOtherLanguageByReference)
{
    PictureStore store(&fixturePicture);
    store.setPicture3Menu(store.Picture5());
    EXPECT_EQ(store.Picture3(0).cacheKey(), store.Picture5().cacheKey());
    EXPECT_EQ(markOf(store.Picture4()), MenuCzech); // the sources never change
    store.setPicture3Menu(store.Picture4());
    EXPECT_EQ(store.Picture3(0).cacheKey(), store.Picture4().cacheKey());
}

TEST(PictureStore, LevelNames)
{
    EXPECT_EQ(PictureStore::levelName(0), QStringLiteral("menu-cs"));
    EXPECT_EQ(PictureStore::levelName(1), QStringLiteral("level-01"));
    EXPECT_EQ(PictureStore::levelName(20), QStringLiteral("level-20"));
    EXPECT_EQ(PictureStore::levelName(ClosingLevel), QStringLiteral("closing"));
}

TEST(PixelColour, IsBlueGreenRedInIndexedAndTrueColourPictures)
{
    QImage rgb(4, 1, QImage::Format_RGB32);
    rgb.setPixel(0, 0, qRgb(255, 153, 51));
    rgb.setPixel(1, 0, qRgb(128, 0, 0));
    rgb.setPixel(2, 0, qRgb(255, 0, 0));
    rgb.setPixel(3, 0, qRgb(1, 2, 3));
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    const Colour expected[] = {ColorLink, ColorMenu, ColorStart, 0x030201};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixelColour(rgb, x, 0), expected[x]) << x;
        EXPECT_EQ(pixelColour(indexed, x, 0), expected[x]) << x;
    }
    EXPECT_EQ(pixelColour(rgb, 4, 0), NoColour);
}

class ColourQuery : public GameTest {};

TEST_F(ColourQuery, PictureThenBlackStripThenNothing)
{
    load();
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    picture.setPixel(0, 0, qRgb(0, 255, 0));
    picture.setPixel(639, 479, qRgb(128, 0, 0));
    c.Picture = picture;
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    const struct { float x, y; Colour expected; } cases[] = {
        {0, 0, ColorGoal},          {0.99f, 0.99f, ColorGoal},    {639.9f, 479.9f, ColorMenu},
        {320, 240, ColorWall},      {5, 480, 0},                  {639.5f, 495.9f, 0},
        {-0.01f, 5, NoColour},      {640, 5, NoColour},           {5, 496, NoColour},
        {5, -0.5f, NoColour},       {NaN, 5, NoColour},           {1e9f, 1e9f, NoColour},
    };
    for (const auto& row : cases)
        EXPECT_EQ(game.Point(row.x, row.y), row.expected) << row.x << ", " << row.y;
}

// The pictures built into the program.

TEST(BuiltInPictures, AreAllThereInTheirSizesAndStayIndexed)
{
    PictureStore store;
    for (int level = MenuLevel; level <= ClosingLevel; ++level) {
        const QImage& picture = store.Picture3(std::int16_t(level));
        EXPECT_EQ(picture.size(), QSize(640, 480)) << level;
        EXPECT_EQ(picture.format(), QImage::Format_Indexed8) << level;
    }
    EXPECT_EQ(store.Picture4().size(), QSize(640, 480));
    EXPECT_EQ(store.Picture5().size(), QSize(640, 480));
    EXPECT_EQ(store.Picture1().size(), QSize(32, 32));
    EXPECT_EQ(store.Picture2().size(), QSize(32, 32));
    EXPECT_EQ(store.Picture3(0).cacheKey(), store.Picture4().cacheKey());
}

// What the rules need to find on the real pictures; the full colour-key
// audit of the art belongs to the picture checker.
TEST(BuiltInPictures, CarryTheColoursThePlayerActsOn)
{
    PictureStore store;
    for (const QImage& menu : {store.Picture4(), store.Picture5()})
        for (Colour colour : {ColorContinue, ColorNewGame, ColorQuit, ColorLink})
            EXPECT_NE(findColour(menu, colour), QPoint(-1, -1)) << colour;
    for (int level = 1; level <= 20; ++level)
        for (Colour colour : {ColorStart, ColorGoal, ColorWall, ColorMenu, ColorLink})
            EXPECT_NE(findColour(store.Picture3(std::int16_t(level)), colour), QPoint(-1, -1))
                << "level " << level << " colour " << colour;
}

// A short game on the real pictures: new game, a death, the goal, back to the menu.
class RealPictures : public ::testing::Test {
protected:
    TestPlatform platform;
    Game game{platform};

    void at(const char* what, Colour colour, std::int16_t button, bool down)
    {
        const QPoint p = findColour(game.controls().Picture, colour);
        ASSERT_NE(p, QPoint(-1, -1)) << what;
        if (down)
            game.Form_MouseDown(button, 0, p.x() + 0.5f, p.y() + 0.5f);
        else
            game.Form_MouseMove(button, 0, p.x() + 0.5f, p.y() + 0.5f);
    }
    bool showing(int level) { return game.controls().Picture.cacheKey() == game.Form2().Picture3(std::int16_t(level)).cacheKey(); }
};

TEST_F(RealPictures, NewGameDeathGoalAndBackToTheMenu)
{
    game.Form_Load();
    ASSERT_TRUE(showing(0));
    at("new-game item", ColorNewGame, 0, false);
    EXPECT_EQ(game.controls().Label1Caption, QStringLiteral("Zahájí novou hru"));
    at("new-game item", ColorNewGame, 1, true);
    for (int i = 0; i < 30; ++i)
        game.Timer1_Timer();
    ASSERT_TRUE(showing(1));

    at("start spot", ColorStart, 1, true);
    at("a wall", ColorWall, 0, false);
    EXPECT_EQ(game.state().Deaths, 1.0f);
    EXPECT_EQ(platform.beeps, 1);

    at("start spot", ColorStart, 1, true);
    at("goal", ColorGoal, 1, false);
    EXPECT_EQ(game.state().Level, 2.0f);
    for (int i = 0; i < 30; ++i)
        game.Timer1_Timer();
    EXPECT_TRUE(showing(2));

    at("badge", ColorMenu, 1, true);
    for (int i = 0; i < 30; ++i)
        game.Timer1_Timer();
    EXPECT_TRUE(showing(0));
    EXPECT_EQ(game.state().Deaths, 0.0f);
    EXPECT_EQ(game.Point(10, 488), ColorInfo); // the strip below the picture
}

} // namespace
} // namespace zw::test
