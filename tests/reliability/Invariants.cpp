#include "Invariants.h"
#include "WholeNumber.h"
#include "base/Levels.h"

#include <cmath>

namespace zw::reliability {

namespace {

bool isFlag(flag16 value) { return value == True || value == False; }

std::string number(float value) { return std::to_string(value); }

} // namespace

std::optional<std::string> brokenInvariant(Game& game)
{
    const GameState& s = game.state();
    if (!whole(s.Level) || s.Level < MenuLevel || s.Level > ClosingLevel)
        return "Level is " + number(s.Level);
    if (!whole(s.Deaths) || s.Deaths < 0)
        return "Deaths is " + number(s.Deaths);
    if (s.Lang > 1)
        return "Lang is " + std::to_string(s.Lang);
    const struct {
        const char* name;
        flag16 value;
    } flags[] = {{"Live", s.Live}, {"InGame", s.InGame}, {"Running", s.Running},
                 {"LoadFailed", s.LoadFailed}, {"MusicOn", s.MusicOn}};
    for (const auto& flag : flags)
        if (!isFlag(flag.value))
            return std::string(flag.name) + " is " + std::to_string(flag.value);
    if (s.LoadFailed != False)
        return "LoadFailed was left set";
    if (s.FrameMode < 1 || s.FrameMode > 6)
        return "FrameMode is " + std::to_string(s.FrameMode);

    PictureStore& store = game.Form2();
    const QImage& menu = s.Lang == 0 ? store.Picture4() : store.Picture5();
    if (store.Picture3(0).cacheKey() != menu.cacheKey())
        return "Picture3(0) is not the menu of language " + std::to_string(s.Lang);
    if (s.FrameMode != 5
        && game.controls().Picture.cacheKey() != store.Picture3(std::int16_t(s.Level)).cacheKey())
        return "the sweep has ended but the window does not show the picture of level " + number(s.Level);
    return std::nullopt;
}

} // namespace zw::reliability
