// Saving at level changes and deaths; continuing from the saved values.

#include "GameHarness.h"
#include "LoadMessages.h"

#include "base/RuntimeError.h"

#include <optional>

namespace zw::test {
namespace {

class SavedProgress : public GameTest {
protected:
    // Stored values; nullptr leaves the key out.
    void store(const char* saw1, const char* saw2, const char* saw3, const char* saw4)
    {
        platform.settings.clear();
        const char* values[] = {saw1, saw2, saw3, saw4};
        for (int i = 0; i < 4; ++i)
            if (values[i])
                platform.settings[QStringLiteral("SaveGame/Saw%1").arg(i + 1)] = QString::fromUtf8(values[i]);
    }
    // The continue item pressed while the game is on level `from` with `deaths`.
    void continueFrom(int from, float deaths)
    {
        standOnLevel(from, deaths);
        platform.boxes.clear();
        press(ColorContinue);
    }
    QList<int> boxStyles() const
    {
        QList<int> styles;
        for (const auto& box : platform.boxes)
            styles << box.style;
        return styles;
    }
};

TEST_F(SavedProgress, WritesTheLevelTheDeathsAndTheirChecks)
{
    const struct { int level; float deaths; const char* saw[4]; } cases[] = {
        {7, 15, {"7", "15", "22", "1"}},
        {5, 0, {"5", "0", "5", "0"}},
        {1, 0, {"1", "0", "1", "0"}},
        {20, 3, {"20", "3", "23", "3"}},
        {3, 40, {"3", "40", "43", "1"}},
    };
    for (const auto& row : cases) {
        // Reaching the level saves it.
        standOnLevel(row.level - 1, row.deaths);
        startRun();
        const int saves = platform.saves;
        press(ColorGoal);
        EXPECT_EQ(platform.saves, saves + 1) << row.level;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(platform.settings.value(QStringLiteral("SaveGame/Saw%1").arg(i + 1)), QLatin1String(row.saw[i]))
                << row.level << " Saw" << i + 1;
    }
    EXPECT_TRUE(std::all_of(platform.settingsApps.begin(), platform.settingsApps.end(),
                            [](const QString& app) { return app == QLatin1String("Zigwalk_Korvel"); }));
}

TEST_F(SavedProgress, MenuClosingPictureAndTheWayBackAreNotSaved)
{
    standOnLevel(20);
    startRun();
    press(ColorGoal); // 21
    press(ColorMenu); // -1, then 0
    standOnLevel(0);
    startRun();
    move(ColorWall);
    EXPECT_EQ(platform.saves, 0);
    EXPECT_TRUE(platform.settings.isEmpty());
}

TEST_F(SavedProgress, ContinueChecksTheStoredValues)
{
    const struct {
        const char* what;
        const char* saw[4];
        int from;
        float fromDeaths;
        float level, deaths;
        QList<int> boxes;
    } cases[] = {
        {"level 7, 15 deaths", {"7", "15", "22", "1"}, 0, 0, 7, 15, {}},
        {"level 5, no deaths", {"5", "0", "5", "0"}, 0, 0, 5, 0, {}},
        {"sum differs", {"3", "4", "8", "1"}, 0, 0, 1, 0, {0}},
        {"remainder differs", {"3", "4", "7", "0"}, 0, 0, 1, 0, {0}},
        {"rejected on a level", {"3", "4", "8", "1"}, 6, 2, 7, 2, {0}},
        {"level zero", {"0", "0", "0", "0"}, 0, 0, 1, 0, {48, 0}},
        {"nothing stored", {nullptr, nullptr, nullptr, nullptr}, 0, 0, 1, 0, {}},
        {"no sum, level 4", {"4", "2", nullptr, "2"}, 0, 0, 1, 0, {0}},
        {"no sum, level 1", {"1", "0", nullptr, "0"}, 0, 0, 1, 0, {}},
    };
    for (const auto& row : cases) {
        store(row.saw[0], row.saw[1], row.saw[2], row.saw[3]);
        continueFrom(row.from, row.fromDeaths);
        EXPECT_EQ(s.Level, row.level) << row.what;
        EXPECT_EQ(s.Deaths, row.deaths) << row.what;
        EXPECT_EQ(boxStyles(), row.boxes) << row.what;
        EXPECT_EQ(s.LoadFailed, False) << row.what;
        EXPECT_EQ(c.Label2Caption, deathsLine(num::toText(row.deaths))) << row.what;
    }
}

// The closing picture is never saved: after the last goal and the way back
// to the menu, continue brings level 20 back with the deaths it was
// entered with.
TEST_F(SavedProgress, AfterTheLastGoalContinueReturnsToLevelTwenty)
{
    standOnLevel(19, 8);
    startRun();
    press(ColorGoal);
    tick(30);
    ASSERT_EQ(shown(), 20);
    startRun();
    press(ColorGoal);
    tick(30);
    ASSERT_EQ(shown(), 21);
    press(ColorMenu);
    tick(30);
    ASSERT_EQ(s.Level, 0.0f);
    ASSERT_EQ(s.Deaths, 0.0f);

    platform.boxes.clear();
    press(ColorContinue);
    EXPECT_EQ(s.Level, 20.0f);
    EXPECT_EQ(s.Deaths, 8.0f);
    EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("8")));
    EXPECT_TRUE(platform.boxes.isEmpty());
    tick(30);
    EXPECT_EQ(shown(), 20);
}

TEST_F(SavedProgress, MessagesOfARejectedLoad)
{
    store("0", "0", "0", "0");
    continueFrom(0, 0);
    ASSERT_EQ(platform.boxes.size(), 2);
    EXPECT_EQ(platform.boxes[0].prompt, LevelZero);
    EXPECT_EQ(platform.boxes[0].style, 48);
    EXPECT_EQ(platform.boxes[1].prompt, BadData);
    EXPECT_EQ(platform.boxes[1].style, 0);
}

TEST_F(SavedProgress, AcceptedLoadSavesBackAndKeepsInGame)
{
    store("7", "15", "22", "1");
    continueFrom(0, 0);
    EXPECT_EQ(platform.saves, 1);
    EXPECT_EQ(saved("Saw1"), QStringLiteral("7"));
    EXPECT_EQ(saved("Saw3"), QStringLiteral("22"));
    EXPECT_EQ(s.InGame, False);
    tick(30);
    EXPECT_EQ(shown(), 7);
}

// One look at the store gives all four values: a continue does not go back
// to it for each key.
TEST_F(SavedProgress, AContinueLooksAtTheStoreOnce)
{
    store("7", "15", "22", "1");
    continueFrom(0, 0);
    EXPECT_EQ(platform.loads, 1);
    EXPECT_EQ(s.Level, 7.0f);
    EXPECT_EQ(s.Deaths, 15.0f);
}

// Values the game never writes are bad data, never a crash.
TEST_F(SavedProgress, StrangeStoredValuesAreRejectedQuietly)
{
    const struct { const char* saw[4]; QList<int> boxes; } cases[] = {
        {{"abc", "0", "1", "0"}, {0}},
        {{"", "0", "1", "0"}, {0}},
        {{"3", "", "3", "0"}, {0}},
        {{"3", "4", "x", "1"}, {0}},
        {{"3", "4", "7", "one"}, {0}},
        {{"2.5", "0", "2.5", "0"}, {0}},
        {{"-3", "4", "1", "1"}, {0}},
        {{"21", "0", "21", "0"}, {0}},
        {{"3", "0.5", "3.5", "0"}, {0}},
        {{"3", "-1", "2", "-1"}, {0}},
        {{"3", "4", "7", "1.5"}, {0}},
        {{"3", "4", "7.5", "1"}, {0}},
        {{"1e30", "0", "1e30", "0"}, {0}},
        {{"3", "1e30", "1e30", "0"}, {0}},
        {{"3", "20000000", "20000003", "2"}, {0}},
        {{"3", "1e39", "7", "1"}, {0}},
        {{"nan", "0", "1", "0"}, {0}},
        {{"3", "inf", "inf", "0"}, {0}},
        {{"0", "abc", "0", "0"}, {48, 0}},
    };
    for (const auto& row : cases) {
        const QString what = QStringList{row.saw[0], row.saw[1], row.saw[2], row.saw[3]}.join(QLatin1Char('|'));
        store(row.saw[0], row.saw[1], row.saw[2], row.saw[3]);
        EXPECT_NO_THROW(continueFrom(6, 2)) << what.toStdString();
        EXPECT_EQ(boxStyles(), row.boxes) << what.toStdString();
        ASSERT_FALSE(platform.boxes.isEmpty()) << what.toStdString();
        EXPECT_EQ(platform.boxes.last().prompt, BadData) << what.toStdString();
        EXPECT_EQ(s.Level, 7.0f) << what.toStdString();
        EXPECT_EQ(s.Deaths, 2.0f) << what.toStdString();
        EXPECT_EQ(s.LoadFailed, False) << what.toStdString();
        EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("2"))) << what.toStdString();
    }
}

TEST_F(SavedProgress, FailingSaveIsToldOnceAndPlayGoesOn)
{
    platform.failSaves = true;
    standOnLevel(3);
    for (int death = 1; death <= 3; ++death) {
        startRun();
        move(ColorWall);
        EXPECT_EQ(s.Deaths, float(death));
    }
    EXPECT_EQ(platform.beeps, 3);
    ASSERT_EQ(platform.boxes.size(), 1);
    EXPECT_EQ(platform.boxes[0].style, 16);
    EXPECT_EQ(platform.boxes[0].prompt, RuntimeError(75, "Path/File access error").boxText());

    startRun();
    press(ColorGoal);
    EXPECT_EQ(s.Level, 4.0f);
    EXPECT_EQ(platform.boxes.size(), 1);
    EXPECT_EQ(platform.saves, 0);
}

// A failure is told when saving stops working: again after any save that
// worked, never twice in a row while the store stays broken.
TEST_F(SavedProgress, AFailingSaveIsToldWhenSavingStopsWorking)
{
    const struct { const char* what; const char* outcomes; const char* told; } cases[] = {
        {"broken from the start", "FFFF", "x..."},
        {"breaks after saves", "SSFF", "..x."},
        {"breaks, mends, breaks", "FSFFSF", "x.x..x"},
        {"mends for good", "FFSSS", "x...."},
        {"every other save", "FSFSF", "x.x.x"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        standOnLevel(3);
        platform.boxes.clear();
        const std::string outcomes = row.outcomes;
        for (std::size_t death = 0; death < outcomes.size(); ++death) {
            platform.failSaves = outcomes[death] == 'F';
            const qsizetype before = platform.boxes.size();
            startRun();
            move(ColorWall);
            const bool told = platform.boxes.size() > before;
            EXPECT_EQ(told, row.told[death] == 'x') << "death " << death + 1;
            if (told) {
                EXPECT_EQ(platform.boxes.last().style, 16);
                EXPECT_EQ(platform.boxes.last().prompt, RuntimeError(75, "Path/File access error").boxText());
            }
        }
        platform.failSaves = false;
        startRun();
        move(ColorWall); // ends every row on a working save
    }
}

// A store that is there but cannot be read (not a file, no permission, far
// too large) is answered like damaged data, not as an empty store.
TEST_F(SavedProgress, AnUnreadableStoreIsAnsweredLikeBadData)
{
    const struct { int from; float deaths; float level; } cases[] = {
        {0, 0, 1},  // from the menu: level 1, as after any rejected load
        {4, 9, 5},  // from a maze: one level on, with the deaths it had
    };
    for (const auto& row : cases) {
        store("7", "15", "22", "1"); // what the store would hold could it be read
        platform.unreadableStore = true;
        continueFrom(row.from, row.deaths);
        platform.unreadableStore = false;
        ASSERT_EQ(platform.boxes.size(), 1) << "from " << row.from;
        EXPECT_EQ(platform.boxes[0].prompt, BadData);
        EXPECT_EQ(platform.boxes[0].style, 0);
        EXPECT_EQ(s.Level, row.level);
        EXPECT_EQ(s.Deaths, row.deaths);
        EXPECT_EQ(s.LoadFailed, False);
        EXPECT_EQ(c.Label2Caption, deathsLine(num::toText(row.deaths)));
    }
}

} // namespace
} // namespace zw::test
