// Saving and continuing through the real settings store: the file on disk
// holds what the game wrote, and a later start of the program takes it back,
// or turns it down the way the game turns down bad data, whatever a player's
// editor left in the file.

#include "ConfigHome.h"
#include "support/FixturePictures.h"
#include "GameStore.h"
#include "LoadMessages.h"
#include "ProgramStart.h"

#include "game/Game.h"

#include <array>

#include <gtest/gtest.h>
#include <ostream>

// Texts in failure messages as text, not as lists of code units.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zw::test {
namespace {

using Saw = std::array<const char*, 4>; // Saw1 to Saw4; nullptr leaves the key out

// One start of the program, and what a test of saving asks of it.
class Program : public ProgramStart {
public:
    // As if the sweep had just brought this level in, with these deaths.
    void standOn(int level, float deaths)
    {
        s.Level = float(level);
        s.Deaths = deaths;
        s.FrameMode = 6;
        game.controls().Picture = game.Form2().Picture3(std::int16_t(level));
    }

    QString deathsLine(float deaths) const { return s.Texts(s.Lang, 6) + num::toText(deaths); }

    QList<int> styles() const
    {
        QList<int> values;
        for (const auto& box : platform.boxes)
            values << box.style;
        return values;
    }
};

QString stored(const char* key)
{
    return readStored(QStringLiteral("SaveGame"), QLatin1String(key),
                                          QStringLiteral("<none>"));
}

// The four stored values, as they were written for a level and its deaths.
QStringList storedSet()
{
    return {stored("Saw1"), stored("Saw2"), stored("Saw3"), stored("Saw4")};
}

// The store file as a player's editor might leave it. Without any key there
// is no file at all.
void writeStoreFile(const ConfigHome& home, const Saw& saw)
{
    QByteArray text = "[SaveGame]\n";
    bool any = false;
    for (int i = 0; i < 4; ++i)
        if (saw[i]) {
            text += "Saw" + QByteArray::number(i + 1) + "=" + saw[i] + "\n";
            any = true;
        }
    if (any)
        writeBytes(home.storeFile(), text);
}

QString describe(const Saw& saw)
{
    QStringList parts;
    for (const char* value : saw)
        parts << (value ? QStringLiteral("\"%1\"").arg(QString::fromUtf8(value)) : QStringLiteral("missing"));
    return parts.join(QLatin1Char(' '));
}

TEST(SaveFile, AReachedLevelIsWrittenToTheFileAndTheNextStartContinuesThere)
{
    const struct {
        int level;
        float deaths;
        const char* fileText; // the section as the file holds it
    } cases[] = {
        {7, 15, "[SaveGame]\nSaw1=7\nSaw2=15\nSaw3=22\nSaw4=1\n"},
        {5, 0, "[SaveGame]\nSaw1=5\nSaw2=0\nSaw3=5\nSaw4=0\n"},
        {20, 3, "[SaveGame]\nSaw1=20\nSaw2=3\nSaw3=23\nSaw4=3\n"},
        {1, 41, "[SaveGame]\nSaw1=1\nSaw2=41\nSaw3=42\nSaw4=0\n"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(testing::Message() << "level " << row.level << ", deaths " << row.deaths);
        ConfigHome home;
        {
            // Winning the level before reaches this one and saves it.
            Program first;
            first.standOn(row.level - 1, row.deaths);
            first.press(ColorStart);
            first.press(ColorGoal);
            EXPECT_EQ(first.platform.saves, 1);
        }
        EXPECT_EQ(QString::fromUtf8(fileBytes(home.storeFile())), QString::fromLatin1(row.fileText));

        Program next;
        next.press(ColorContinue);
        EXPECT_TRUE(next.platform.boxes.isEmpty());
        EXPECT_EQ(next.sweep(), row.level);
        EXPECT_EQ(next.s.Level, float(row.level));
        EXPECT_EQ(next.s.Deaths, row.deaths);
        EXPECT_EQ(next.game.controls().Label2Caption, next.deathsLine(row.deaths));
    }
}

// What a player's continue does with the values in the file. After the load
// the level change saves again, so the file then holds the level the game went
// to, whether the old values were taken or not.
enum class Verdict { Taken, BadData, LevelZeroThenBadData };

struct LoadCase {
    const char* what;
    Saw saw;
    int fromLevel;      // where the game is when continue is pressed (0: the menu)
    float fromDeaths;
    Verdict verdict;
    int level;          // where the game goes
    float deaths;
};

void continueWith(const LoadCase& row)
{
    SCOPED_TRACE(testing::Message() << row.what << ": " << describe(row.saw).toStdString());
    ConfigHome home;
    writeStoreFile(home, row.saw);

    Program program;
    if (row.fromLevel > 0)
        program.standOn(row.fromLevel, row.fromDeaths);
    EXPECT_NO_THROW(program.press(ColorContinue));

    switch (row.verdict) {
    case Verdict::Taken:
        EXPECT_EQ(program.prompts(), QStringList());
        break;
    case Verdict::BadData:
        EXPECT_EQ(program.prompts(), QStringList{BadData});
        EXPECT_EQ(program.styles(), QList<int>{0});
        break;
    case Verdict::LevelZeroThenBadData:
        EXPECT_EQ(program.prompts(), (QStringList{LevelZero, BadData}));
        EXPECT_EQ(program.styles(), (QList<int>{48, 0}));
        break;
    }
    EXPECT_EQ(program.s.LoadFailed, False);
    EXPECT_EQ(program.sweep(), row.level);
    EXPECT_EQ(program.s.Level, float(row.level));
    EXPECT_EQ(program.s.Deaths, row.deaths);
    EXPECT_EQ(program.game.controls().Label2Caption, program.deathsLine(row.deaths));

    const int deaths = int(row.deaths);
    EXPECT_EQ(storedSet(), (QStringList{QString::number(row.level), QString::number(deaths),
                                        QString::number(row.level + deaths),
                                        QString::number(deaths % row.level)}));
}

TEST(SaveFile, ContinueTakesOnlyValuesThatAgree)
{
    const LoadCase cases[] = {
        {"a saved game", {"7", "15", "22", "1"}, 0, 0, Verdict::Taken, 7, 15},
        {"a saved game, continued from a level", {"7", "15", "22", "1"}, 12, 4, Verdict::Taken, 7, 15},
        {"no deaths", {"5", "0", "5", "0"}, 0, 0, Verdict::Taken, 5, 0},
        {"the sum differs", {"3", "4", "8", "1"}, 0, 0, Verdict::BadData, 1, 0},
        {"the sum differs, on a level", {"3", "4", "8", "1"}, 6, 2, Verdict::BadData, 7, 2},
        {"the remainder differs", {"3", "4", "7", "0"}, 0, 0, Verdict::BadData, 1, 0},
        {"level zero", {"0", "0", "0", "0"}, 0, 0, Verdict::LevelZeroThenBadData, 1, 0},
        {"level zero, on a level", {"0", "0", "0", "0"}, 6, 2, Verdict::LevelZeroThenBadData, 7, 2},
        {"no file", {nullptr, nullptr, nullptr, nullptr}, 0, 0, Verdict::Taken, 1, 0},
        {"no file, on a level", {nullptr, nullptr, nullptr, nullptr}, 6, 2, Verdict::Taken, 1, 0},
        {"no sum, level 4", {"4", "2", nullptr, "2"}, 0, 0, Verdict::BadData, 1, 0},
        {"no sum, level 1 without deaths", {"1", "0", nullptr, "0"}, 6, 2, Verdict::Taken, 1, 0},
        {"no sum, level 2 with deaths", {"2", "1", nullptr, "1"}, 6, 2, Verdict::BadData, 7, 2},
    };
    for (const auto& row : cases)
        continueWith(row);
}

// Values the game never writes, as a hand edit or a damaged disk leaves
// them: bad data like any other, never a run-time error.
TEST(SaveFile, ValuesTheGameNeverWritesAreBadData)
{
    const LoadCase cases[] = {
        {"not a number", {"abc", "0", "1", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"empty level", {"", "0", "1", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"empty deaths", {"3", "", "3", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"sum not a number", {"3", "4", "x", "1"}, 6, 2, Verdict::BadData, 7, 2},
        {"remainder not a number", {"3", "4", "7", "one"}, 6, 2, Verdict::BadData, 7, 2},
        {"half a level", {"2.5", "0", "2.5", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"level with a comma", {"1,5", "0", "1,5", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"negative level", {"-3", "4", "1", "1"}, 6, 2, Verdict::BadData, 7, 2},
        {"the closing picture", {"21", "0", "21", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"beyond every level", {"1e30", "0", "1e30", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"beyond a float", {"3", "1e39", "7", "1"}, 6, 2, Verdict::BadData, 7, 2},
        {"half a death", {"3", "0.5", "3.5", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"negative deaths", {"3", "-1", "2", "-1"}, 6, 2, Verdict::BadData, 7, 2},
        {"not a number at all", {"nan", "0", "1", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"endless deaths", {"3", "inf", "inf", "0"}, 6, 2, Verdict::BadData, 7, 2},
        {"level zero, deaths not a number", {"0", "abc", "0", "0"}, 6, 2, Verdict::LevelZeroThenBadData, 7, 2},
    };
    for (const auto& row : cases)
        continueWith(row);
}

} // namespace
} // namespace zw::test
