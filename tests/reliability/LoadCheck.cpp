#include "LoadCheck.h"
#include "WholeNumber.h"

#include "BuiltInPictures.h"

#include "game/Numbers.h"
#include "base/RuntimeError.h"
#include "base/Levels.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zw::reliability {

namespace {

const std::array<QString, 4> Keys{QStringLiteral("Saw1"), QStringLiteral("Saw2"), QStringLiteral("Saw3"),
                                  QStringLiteral("Saw4")};
// What the load reads for a missing key.
const std::array<QString, 4> Defaults{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"),
                                      QStringLiteral("0")};

const QString BadData = QStringLiteral("chyba při načítání, chybná data");
const QString LevelZeroFirstLine = QStringLiteral("Nastala chyba při načítání hry.");

// The largest death count that is still written as plain digits: seven
// significant digits. Every save a real game makes stays far below it.
constexpr float PlainDeaths = 9999999.0f;

struct Reading {
    std::array<std::optional<float>, 4> value;

    explicit Reading(const StoredTexts& stored)
    {
        for (std::size_t i = 0; i < 4; ++i)
            value[i] = num::tryFromText(stored[i].value_or(Defaults[i]));
    }

    bool allNumbers() const { return value[0] && value[1] && value[2] && value[3]; }
    float level() const { return *value[0]; }
    float deaths() const { return *value[1]; }

    // A set a game could have written: a maze level, a whole death count,
    // their sum and the remainder of the deaths by the level.
    bool consistent() const
    {
        if (!allNumbers())
            return false;
        const float level = *value[0], deaths = *value[1], sum = *value[2], remainder = *value[3];
        if (!whole(level) || level < FirstMaze || level > LastMaze || !whole(deaths) || deaths < 0 || deaths > 2147483647.0f)
            return false;
        const float expectedSum = static_cast<float>(double(deaths) + double(level));
        const auto expectedRemainder = static_cast<std::int64_t>(deaths) % static_cast<std::int64_t>(level);
        return sum == expectedSum && remainder == static_cast<float>(expectedRemainder);
    }
};

std::string text(float value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

// A save written back must say exactly this level and these deaths.
std::optional<std::string> judgeSavedBack(const std::optional<StoredTexts>& saved, float level, float deaths,
                                          bool saveExpected)
{
    if (!saveExpected)
        return std::nullopt;
    if (level < FirstMaze || level > LastMaze)
        return saved ? std::optional<std::string>("a save was written for level " + text(level)) : std::nullopt;
    if (!saved)
        return "no save was written for level " + text(level);
    const Reading back(*saved);
    if (!back.consistent() || back.level() != level || back.deaths() != deaths)
        return "the save written back is " + describe(*saved) + ", not level " + text(level) + " with "
            + text(deaths) + " deaths";
    return std::nullopt;
}

} // namespace

StoredTexts storedTexts(const TestPlatform& platform)
{
    StoredTexts stored;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto found = platform.settings.find(QStringLiteral("SaveGame/") + Keys[i]);
        if (found != platform.settings.end())
            stored[i] = *found;
    }
    return stored;
}

StoredTexts storedTexts(const SavedValues& values)
{
    StoredTexts stored;
    for (const auto& [key, text] : values)
        for (std::size_t i = 0; i < 4; ++i)
            if (key == Keys[i])
                stored[i] = text;
    return stored;
}

LoadOutcome continueFromMenu(const StoredTexts& stored, const PictureStore& pictures, QPointF spot)
{
    TestPlatform platform;
    platform.recordCalls = false;
    for (std::size_t i = 0; i < 4; ++i)
        if (stored[i])
            platform.settings[QStringLiteral("SaveGame/") + Keys[i]] = *stored[i];
    std::optional<SavedValues> lastSave;
    platform.afterSave = [&lastSave](const SavedValues& values, bool written) {
        if (written)
            lastSave = values;
    };

    LoadOutcome outcome;
    const std::unique_ptr<Game> game = gameOn(platform, pictures);
    try {
        game->Form_Load();
        outcome.levelBefore = game->state().Level;
        outcome.deathsBefore = game->state().Deaths;
        game->Form_MouseDown(1, 0, float(spot.x()), float(spot.y()));
    } catch (const RuntimeError& error) {
        outcome.runtimeError = error.what();
    }
    outcome.boxes = platform.boxes;
    outcome.level = game->state().Level;
    outcome.deaths = game->state().Deaths;
    if (lastSave)
        outcome.savedBack = storedTexts(*lastSave);
    return outcome;
}

std::optional<std::string> judgeLoad(const StoredTexts& stored, const LoadOutcome& outcome, bool saveExpected)
{
    if (outcome.runtimeError)
        return "run-time error: " + *outcome.runtimeError;

    const Reading reading(stored);
    const bool consistent = reading.consistent();
    if (outcome.boxes.empty()) {
        if (!consistent)
            return "accepted data that is not a consistent save";
        if (outcome.level != reading.level() || outcome.deaths != reading.deaths())
            return "accepted, but the game went to level " + text(outcome.level) + " with " + text(outcome.deaths)
                + " deaths";
        return judgeSavedBack(outcome.savedBack, outcome.level, outcome.deaths, saveExpected);
    }

    if (consistent && reading.deaths() <= PlainDeaths)
        return "rejected a consistent save";
    const bool levelZero = reading.value[0] && *reading.value[0] == 0.0f;
    const std::size_t expectedBoxes = levelZero ? 2 : 1;
    if (std::size_t(outcome.boxes.size()) != expectedBoxes)
        return "rejected with " + std::to_string(outcome.boxes.size()) + " boxes, not "
            + std::to_string(expectedBoxes);
    if (levelZero && (outcome.boxes[0].style != 48 || !outcome.boxes[0].prompt.startsWith(LevelZeroFirstLine)))
        return "the level-zero message is missing";
    if (outcome.boxes.back().prompt != BadData || outcome.boxes.back().style != 0)
        return "the last box is not the bad-data message: " + outcome.boxes.back().prompt.toStdString();
    const float levelAfter = std::min(outcome.levelBefore + 1, float(ClosingLevel));
    if (outcome.level != levelAfter || outcome.deaths != outcome.deathsBefore)
        return "rejected, but the game went to level " + text(outcome.level) + " with " + text(outcome.deaths)
            + " deaths instead of one level on";
    return judgeSavedBack(outcome.savedBack, outcome.level, outcome.deaths, saveExpected);
}

std::string describe(const StoredTexts& stored)
{
    std::string out;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i)
            out += ' ';
        out += Keys[i].toStdString() + '=';
        if (!stored[i]) {
            out += "<missing>";
            continue;
        }
        const QString& value = *stored[i];
        // Long fuzz texts are cut; the start tells enough.
        out += '"' + (value.size() > 40 ? value.left(40).toStdString() + "..." : value.toStdString()) + '"';
    }
    return out;
}

} // namespace zw::reliability
