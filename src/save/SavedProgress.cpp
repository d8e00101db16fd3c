// Saved progress: the level and the deaths, with two check values (their sum
// and the deaths modulo the level) so that hand-edited or damaged data is
// noticed when the player continues. Only the maze levels are ever saved.

#include "game/Game.h"
#include "base/Levels.h"
#include "base/Maker.h"
#include "base/RuntimeError.h"
#include "base/SaveStore.h"
#include "base/UnreadableStore.h"

#include <cmath>
#include <optional>

namespace zw {

namespace {

// Deaths beyond this can no longer be counted one by one in a float.
constexpr float MostDeaths = 16777216.0f;

const QString BadDataMessage = QStringLiteral("chyba při načítání, chybná data");

QString levelZeroMessage()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Nastala chyba při načítání hry.") + crlf
        + QStringLiteral("Omlouváme se za vzniklé potíže.") + crlf
        + QStringLiteral("Sdělte tuto chybu do návštěvní knihy na adrese ") + maker::Host
        + QStringLiteral(".") + crlf + crlf
        + QStringLiteral("Kód chyby >>> \"SafeLevel=0\"");
}

bool isWhole(float value) { return std::isfinite(value) && std::trunc(value) == value; }

// Values the game itself could have written. Anything else is treated like
// data that fails its checks, so a damaged store never stops the game. A
// stored level of 0 passes here: it has its own message further on.
bool looksSaved(const LevelSet& levels, const std::optional<float>& level, const std::optional<float>& deaths,
                const std::optional<float>& sum, const std::optional<float>& remainder)
{
    return level && deaths && sum && remainder
        && isWhole(*level) && (*level == MenuLevel || levels.hasMaze(*level))
        && isWhole(*deaths) && *deaths >= 0 && *deaths <= MostDeaths
        && isWhole(*sum) && isWhole(*remainder);
}

} // namespace

void Game::SaveProgress()
{
    GameState& s = state_;
    if (s.Level <= float(MenuLevel) || s.Level >= float(ClosingLevel))
        return; // the menu, the closing picture and the way back to the menu

    s.SawLevel = s.Level;
    s.SawDeaths = s.Deaths;
    s.SawSum = num::add(s.Deaths, s.Level);
    s.SawMod = static_cast<float>(num::mod(num::toInt32(s.Deaths), num::toInt32(s.SawLevel)));

    try {
        platform_.saveSettings(StoreName, levels_.saveSection,
                               {{savekey::Level, num::toText(s.SawLevel)},
                                {savekey::Deaths, num::toText(s.SawDeaths)},
                                {savekey::Sum, num::toText(s.SawSum)},
                                {savekey::Remainder, num::toText(s.SawMod)}});
        lastSaveFailed_ = false;
    } catch (const RuntimeError& error) {
        // Losing the save must not cost the player the run: the death is
        // still counted and the level still changes. Say it when saving
        // stops working, not on every death while it stays broken; after a
        // save that worked, the next failure is news again.
        if (!lastSaveFailed_)
            platform_.messageBox(error.boxText(), 16);
        lastSaveFailed_ = true;
    }
}

void Game::LoadGame()
{
    GameState& s = state_;
    std::optional<float> level, deaths, sum, remainder;
    try {
        // All four from one look at the store, in the order the keys are read.
        const std::vector<QString> saved = platform_.getSettings(StoreName, levels_.saveSection,
                                                                 {{savekey::Level, QStringLiteral("1")},
                                                                  {savekey::Deaths, QStringLiteral("0")},
                                                                  {savekey::Sum, QStringLiteral("1")},
                                                                  {savekey::Remainder, QStringLiteral("0")}});
        level = num::tryFromText(saved.at(0));
        deaths = num::tryFromText(saved.at(1));
        sum = num::tryFromText(saved.at(2));
        remainder = num::tryFromText(saved.at(3));
    } catch (const UnreadableStore&) {
        // A store that is there but cannot be read is no fresh start: the
        // player would lose their progress without a word. It is answered
        // like data that fails its checks: with no values it fails them.
        level = deaths = sum = remainder = std::nullopt;
    }
    s.SawLevel = level.value_or(0);
    s.SawDeaths = deaths.value_or(0);
    s.SawSum = sum.value_or(0);
    s.SawMod = remainder.value_or(0);

    if (level && *level == 0.0f) {
        platform_.messageBox(levelZeroMessage(), 48);
        s.LoadFailed = True;
    }
    if (looksSaved(levels_, level, deaths, sum, remainder)) {
        // Within these ranges the checks below cannot fault.
        if (num::add(s.SawDeaths, s.SawLevel) != s.SawSum)
            s.LoadFailed = True;
        if (s.SawLevel == 0.0f)
            s.SawLevel = 1; // keeps the remainder check from dividing by zero
        const std::int32_t expected = num::mod(num::toInt32(s.SawDeaths), num::toInt32(s.SawLevel));
        if (static_cast<double>(s.SawMod) != static_cast<double>(expected))
            s.LoadFailed = True;
    } else {
        s.LoadFailed = True;
    }

    // A rejected load still moves the game one level on, with the deaths it had.
    if (s.LoadFailed == False) {
        s.Level = num::sub(s.SawLevel, 1.0f);
        s.Deaths = s.SawDeaths;
    } else {
        platform_.messageBox(BadDataMessage, 0);
        s.LoadFailed = False;
    }
    setDeathsLine();
    NextLevel();
}

} // namespace zw
