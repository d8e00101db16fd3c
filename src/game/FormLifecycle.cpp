// The game window's start-up and shut-down, its colour query, the picture
// store it creates on first use, and the end of the program.

#include "game/Game.h"
#include "base/PictureSize.h"
#include "base/RuntimeError.h"

#include <cmath>

namespace zw {

namespace {

constexpr Colour WindowBackground = 0x000000; // black, shows in the strip below the picture

} // namespace

Game::Game(Platform& platform, StoreFactory makeStore, LevelSet levels)
    : platform_(platform)
    , makeStore_(makeStore ? std::move(makeStore) : [] { return std::make_unique<PictureStore>(); })
    , levels_(std::move(levels))
{
}

Game::~Game() = default;

PictureStore& Game::Form2()
{
    if (!form2_)
        form2_ = makeStore_();
    if (!form2_)
        throw RuntimeError::invalidPicture(); // a factory that made no store
    return *form2_;
}

void Game::Form_Load()
{
    if (ended_)
        return;
    // The run pointer stays until the first mouse event picks one by the run state.
    Form2();
    controls_.Cursor = PointerPicture::Picture1;
    controls_.Picture = Form2().Picture3(0);

    // The frame is left where the layout put it (around the first menu item)
    // until the pointer first hovers an item.
    state_.FrameMode = 1;
    state_.Level = 0;
    state_.Lang = 0;
    state_.Texts.fill();
    controls_.Label1ToolTip = state_.Texts(state_.Lang, 8);
    startMusic();
}

void Game::Form_Unload()
{
    if (ended_)
        return;
    stopMusic();
    endProgram();
}

void Game::endProgram()
{
    ended_ = true;
    platform_.endProgram();
}

Colour Game::Point(float X, float Y) const
{
    ++colourQueries_;
    if (std::isnan(X) || std::isnan(Y))
        return NoColour;
    const double x = std::floor(X);
    const double y = std::floor(Y);
    if (x < 0 || x >= WindowWidth || y < 0 || y >= WindowHeight)
        return NoColour;
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    // The picture sits unscaled at the top left; wherever it does not reach
    // (the strip below it) the black window background shows.
    if (controls_.Picture.valid(px, py))
        return pixelColour(controls_.Picture, px, py);
    return WindowBackground;
}

} // namespace zw
