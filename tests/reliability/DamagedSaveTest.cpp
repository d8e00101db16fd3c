// Damaged saves: whatever the store holds, continuing never crashes and never
// raises a run-time error; only a consistent set of whole values is taken,
// and anything else is rejected the way the game rejects bad data.

#include "BuiltInPictures.h"
#include "ConfigFolder.h"
#include "LoadCheck.h"
#include "OddTexts.h"
#include "ScriptedPlayer.h"

#include "core/GameHarness.h"

#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "platform/store/AtomicFile.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

#include <QDir>
#include <optional>
#include <random>

#include <gtest/gtest.h>

namespace zw::reliability {
namespace {

using test::GameTest;
using test::LocaleGuard;

const QString BadData = QStringLiteral("chyba při načítání, chybná data");

// --- The stored texts, through the continue item -------------------------

enum class Verdict { Taken, Rejected, RejectedLevelZero };

struct Row {
    const char* why;
    const char* saw[4]; // nullptr: the key is missing
    Verdict verdict;
    float level = 0, deaths = 0; // when taken
};

const Row Rows[] = {
    {"a save the game wrote", {"7", "15", "22", "1"}, Verdict::Taken, 7, 15},
    {"nothing stored", {nullptr, nullptr, nullptr, nullptr}, Verdict::Taken, 1, 0},
    {"the last maze", {"20", "3", "23", "3"}, Verdict::Taken, 20, 3},
    {"blanks around the numbers", {" 5 ", "0", "5 ", " 0"}, Verdict::Taken, 5, 0},
    {"numbers in exponent form", {"1E1", "0", "1e1", "0"}, Verdict::Taken, 10, 0},
    {"whole numbers with a point", {"3.0", "4.0", "7", "1"}, Verdict::Taken, 3, 4},
    {"a missing sum that the default fits", {"1", "0", nullptr, "0"}, Verdict::Taken, 1, 0},
    {"a missing sum that the default does not fit", {"2", "0", nullptr, "0"}, Verdict::Rejected},
    {"a sum off by one", {"3", "4", "8", "1"}, Verdict::Rejected},
    {"a remainder off", {"3", "4", "7", "0"}, Verdict::Rejected},
    {"level zero", {"0", "0", "0", "0"}, Verdict::RejectedLevelZero},
    {"level zero as -0", {"-0", "0", "0", "0"}, Verdict::RejectedLevelZero},
    {"level zero with text elsewhere", {"0", "x", "0", "0"}, Verdict::RejectedLevelZero},
    {"a negative level that the checks fit", {"-1", "1", "0", "0"}, Verdict::Rejected},
    {"negative deaths that the checks fit", {"3", "-3", "0", "0"}, Verdict::Rejected},
    {"the closing picture", {"21", "0", "21", "0"}, Verdict::Rejected},
    {"a level past the pictures", {"25", "0", "25", "0"}, Verdict::Rejected},
    {"a fraction of a level", {"3.5", "0", "3.5", "0"}, Verdict::Rejected},
    {"a fraction of a death", {"3", "0.5", "3.5", "0"}, Verdict::Rejected},
    {"an empty text", {"", "0", "1", "0"}, Verdict::Rejected},
    {"blanks only", {"3", " ", "3", "0"}, Verdict::Rejected},
    {"words", {"abc", "0", "1", "0"}, Verdict::Rejected},
    {"a decimal comma in a whole-number store", {"1,5", "0", "1,5", "0"}, Verdict::Rejected},
    {"not a number", {"NaN", "0", "NaN", "0"}, Verdict::Rejected},
    {"infinity", {"inf", "0", "inf", "0"}, Verdict::Rejected},
    {"beyond float32", {"1e40", "0", "1e40", "0"}, Verdict::Rejected},
    {"deaths beyond float32", {"3", "1e39", "1e39", "0"}, Verdict::Rejected},
    {"deaths beyond a 32-bit integer", {"3", "99999999999999999999", "1e20", "0"}, Verdict::Rejected},
    {"hexadecimal", {"0x3", "0", "3", "0"}, Verdict::Rejected},
    {"digits of another script", {"٣", "0", "٣", "0"}, Verdict::Rejected},
    {"full-width digits", {"３", "0", "３", "0"}, Verdict::Rejected},
    {"a settings variant", {"@Invalid()", "0", "1", "0"}, Verdict::Rejected},
    {"a very long number", {"1", "0", "1", "00000000000000000000000000000000000000000000000000000000000000000000000001"},
     Verdict::Rejected},
};

class DamagedSaveTable : public GameTest {
protected:
    void store(const Row& row)
    {
        platform.settings.clear();
        for (int i = 0; i < 4; ++i)
            if (row.saw[i])
                platform.settings[QStringLiteral("SaveGame/Saw%1").arg(i + 1)] = QString::fromUtf8(row.saw[i]);
    }
};

TEST_F(DamagedSaveTable, TakesOnlyConsistentWholeValuesAndRejectsTheRestAsBadData)
{
    const LocaleGuard cLocale(QLocale::c());
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.why);
        // On the menu with 4 deaths from a game before, as after the way back.
        standOnLevel(0, 4);
        store(row);
        platform.boxes.clear();
        ASSERT_NO_THROW(press(ColorContinue));

        if (row.verdict == Verdict::Taken) {
            EXPECT_TRUE(platform.boxes.isEmpty());
            EXPECT_EQ(s.Level, row.level);
            EXPECT_EQ(s.Deaths, row.deaths);
            EXPECT_EQ(saved("Saw1"), QString::number(int(row.level))) << "the level is saved again";
            continue;
        }
        const bool levelZero = row.verdict == Verdict::RejectedLevelZero;
        ASSERT_EQ(platform.boxes.size(), levelZero ? 2 : 1);
        if (levelZero) {
            EXPECT_EQ(platform.boxes.front().style, 48);
        }
        EXPECT_EQ(platform.boxes.back().prompt, BadData);
        EXPECT_EQ(platform.boxes.back().style, 0);
        // One level on from the menu, with the deaths the game had.
        EXPECT_EQ(s.Level, 1);
        EXPECT_EQ(s.Deaths, 4);
        EXPECT_EQ(s.LoadFailed, False);
        EXPECT_EQ(c.Label2Caption, deathsLine(QStringLiteral("4")));
    }
}

TEST_F(DamagedSaveTable, ReadsWholeNumbersAlikeUnderADecimalComma)
{
    const LocaleGuard czech(QLocale(QLocale::Czech, QLocale::Czechia));
    for (const Row& row : Rows) {
        if (row.verdict != Verdict::Taken)
            continue;
        SCOPED_TRACE(row.why);
        standOnLevel(0);
        store(row);
        platform.boxes.clear();
        ASSERT_NO_THROW(press(ColorContinue));
        EXPECT_TRUE(platform.boxes.isEmpty());
        EXPECT_EQ(s.Level, row.level);
        EXPECT_EQ(s.Deaths, row.deaths);
    }
}

TEST_F(DamagedSaveTable, ARejectedLoadWhileTheMenuIsLeavingGoesOnFromTheNewLevel)
{
    // A new game has begun but the menu is still on screen: the continue
    // item can still be pressed, and bad data moves on from level 1 to 2.
    standOnLevel(0);
    press(ColorNewGame);
    ASSERT_EQ(s.Level, 1);
    platform.settings[QStringLiteral("SaveGame/Saw3")] = QStringLiteral("99");
    ASSERT_NO_THROW(press(ColorContinue));
    ASSERT_EQ(platform.boxes.size(), 1);
    EXPECT_EQ(s.Level, 2);
    EXPECT_EQ(saved("Saw1"), QStringLiteral("2"));
    EXPECT_EQ(saved("Saw3"), QStringLiteral("2")) << "the new level's save replaces the bad data";
}

// --- Many damaged sets, judged from the outside --------------------------

TEST(DamagedSaveSets, TwentyThousandDamagedSetsAreTakenOrRejectedAsTheyDeserve)
{
    const PictureStore& pictures = builtInPictures();
    const QPointF spot = continueSpot(builtInAtlas(), pictures);
    SeededChoices choices(4242);
    int taken = 0, rejected = 0;
    for (int i = 0; i < 20000; ++i) {
        const StoredTexts set = damagedSet(choices);
        const LoadOutcome outcome = continueFromMenu(set, pictures, spot);
        const auto complaint = judgeLoad(set, outcome);
        ASSERT_FALSE(complaint) << "set " << i << ", " << describe(set) << ": " << *complaint;
        (outcome.boxes.empty() ? taken : rejected)++;
    }
    // Both ways were walked, many times.
    EXPECT_GT(taken, 2000);
    EXPECT_GT(rejected, 2000);
}

// --- The settings file itself damaged -------------------------------------

const QString App = QStringLiteral("Zigwalk_Korvel");
const QString Missing = QStringLiteral("\x01missing");

// What the real store gives for the four keys; nothing at all when the
// store is there but cannot be read.
std::optional<StoredTexts> tryReadFromDisk()
{
    const platform::SettingsStore store(platform::storePathOf(App));
    StoredTexts texts;
    try {
        for (int i = 0; i < 4; ++i) {
            const QString value =
                store.readAll(QStringLiteral("SaveGame"), {{QStringLiteral("Saw%1").arg(i + 1), Missing}}).front();
            if (value != Missing)
                texts[std::size_t(i)] = value;
        }
    } catch (const UnreadableStore&) {
        return std::nullopt;
    }
    return texts;
}

StoredTexts readFromDisk()
{
    const std::optional<StoredTexts> texts = tryReadFromDisk();
    EXPECT_TRUE(texts) << "the store cannot be read";
    return texts.value_or(StoredTexts{});
}

struct Session {
    int saveFailureBoxes = 0;
    int badDataBoxes = 0;
    int otherBoxes = 0;
    std::uint64_t deaths = 0;
};

// A real game on the real store: continue, a new game, five deaths and a win.
Session playOnDisk()
{
    TestPlatform platform;
    platform.useThisMachine();
    const std::unique_ptr<Game> game = gameOn(platform, builtInPictures());
    SeededChoices choices(9);
    ScriptedPlayer player(*game, builtInAtlas(), choices);
    game->Form_Load();
    player.continueGame();
    player.backToMenu();
    player.newGame();
    for (int i = 0; i < 5; ++i)
        player.die();
    player.win();

    Session session;
    for (const auto& box : platform.boxes) {
        if (box.style == 16)
            ++session.saveFailureBoxes;
        else if (box.prompt == BadData && box.style == 0)
            ++session.badDataBoxes;
        else
            ++session.otherBoxes;
    }
    session.deaths = platform.beeps;
    return session;
}

class DamagedSettingsFile : public ::testing::Test {
protected:
    ConfigFolder folder;

    // Whatever the file holds, the game reads it, judges it like any
    // stored data, plays on, and leaves a store that the next start loads.
    void expectPlayableAndRepaired()
    {
        const StoredTexts before = readFromDisk();
        const auto complaint =
            judgeLoad(before, continueFromMenu(before, builtInPictures(), continueSpot(builtInAtlas(), builtInPictures())));
        EXPECT_FALSE(complaint) << describe(before) << ": " << complaint.value_or("");

        const Session session = playOnDisk();
        EXPECT_EQ(session.saveFailureBoxes, 0);
        EXPECT_EQ(session.deaths, 5u);

        const StoredTexts after = readFromDisk();
        const LoadOutcome next = continueFromMenu(after, builtInPictures(), continueSpot(builtInAtlas(), builtInPictures()));
        EXPECT_TRUE(next.boxes.empty()) << "the next start rejects " << describe(after);
        EXPECT_EQ(next.level, 2) << "the win took the game to level 2";
    }
};

TEST_F(DamagedSettingsFile, AnEmptyFileReadsAsNothingStored)
{
    ASSERT_TRUE(writeFile(folder.storeFile(), {}));
    EXPECT_EQ(describe(readFromDisk()), describe(StoredTexts{}));
    expectPlayableAndRepaired();
}

TEST_F(DamagedSettingsFile, RandomBytesNeverStopTheGame)
{
    std::mt19937 random(31337);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QByteArray bytes(int(random() % 8192), '\0');
        for (char& byte : bytes)
            byte = char(random());
        if (round % 2)
            bytes.prepend("[SaveGame]\n"); // so that the damage lands in the game's own section
        ASSERT_TRUE(writeFile(folder.storeFile(), bytes));
        expectPlayableAndRepaired();
    }
}

TEST_F(DamagedSettingsFile, HandEditedAndTruncatedFilesAreJudgedLikeAnyData)
{
    const char* const files[] = {
        "[SaveGame]\r\nSaw1=7\r\nSaw2=15\r\nSaw3=22\r\nSaw4=1\r\n",
        "[SaveGame]\nSaw1=7\nSaw2=15\nSaw3=22\n",
        "[SaveGame]\nSaw1=7\nSaw2=1",
        "[SaveGame]\nSaw1=1,5\nSaw2=0\nSaw3=1,5\nSaw4=0\n",
        "[SaveGame]\nSaw1=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10QStringList\\0\\0\\0\\xff)\n",
        "[SaveGame]\nSaw1=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)\nSaw2=@ByteArray(5)\nSaw3=@Rect(1 2 3 4)\n",
        "[SaveGame]\nSaw1=\xff\xfe\x00\x41\nSaw2=\"7\nSaw3=\\\n",
        "[SaveGame\nSaw1=3\n",
        "\xef\xbb\xbf[SaveGame]\nSaw1=2\nSaw2=0\nSaw3=2\nSaw4=0\n",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(writeFile(folder.storeFile(), QByteArray(file)));
        expectPlayableAndRepaired();
    }
}

// A store far larger than any save with a player's notes beside it is not
// read: continue answers with the bad-data box, every save fails with the
// file access error (told once), and the file stays exactly as it was.
// Anything up to the limit is read and edited like a small store.
TEST_F(DamagedSettingsFile, AFileFarTooLargeIsBadDataAndIsLeftAlone)
{
    const QByteArray nearSave = "[SaveGame]\nSaw1=1\nSaw2=0\nSaw3=1\nSaw4=0\n;";
    const QByteArray tooLarge = nearSave + QByteArray(platform::LargestStore + 1 - nearSave.size(), ' ');
    ASSERT_TRUE(writeFile(folder.storeFile(), tooLarge));
    EXPECT_FALSE(tryReadFromDisk()) << "read as if it were a save";

    const Session session = playOnDisk();
    EXPECT_EQ(session.badDataBoxes, 1) << "continue answers with the bad-data box";
    EXPECT_EQ(session.saveFailureBoxes, 1) << "told once, not on every death";
    EXPECT_EQ(session.otherBoxes, 0);
    EXPECT_EQ(session.deaths, 5u);
    EXPECT_EQ(fileBytes(folder.storeFile()), tooLarge) << "neither replaced nor cut";

    // Exactly the limit is still read as a store, and edited in place.
    const QByteArray largest = nearSave + QByteArray(platform::LargestStore - nearSave.size(), ' ');
    ASSERT_TRUE(writeFile(folder.storeFile(), largest));
    EXPECT_EQ(describe(readFromDisk()), describe(StoredTexts{{"1", "0", "1", "0"}}));
    expectPlayableAndRepaired();
    EXPECT_TRUE(fileBytes(folder.storeFile()).endsWith(largest.sliced(nearSave.size())));
}

TEST_F(DamagedSettingsFile, ADirectoryInPlaceOfTheFileLetsTheGamePlayAndSaysSoOnce)
{
    ASSERT_TRUE(QDir().mkpath(folder.storeFile()));
    EXPECT_FALSE(tryReadFromDisk()) << "a folder read as a store";

    const Session session = playOnDisk();
    EXPECT_EQ(session.deaths, 5u) << "the deaths still count";
    EXPECT_EQ(session.badDataBoxes, 1) << "continue answers with the bad-data box";
    EXPECT_EQ(session.saveFailureBoxes, 1) << "told once, not on every death";
    EXPECT_EQ(session.otherBoxes, 0);
    EXPECT_TRUE(QFileInfo(folder.storeFile()).isDir());
}

TEST_F(DamagedSettingsFile, AnUnreadableFileIsBadDataAndIsLeftAlone)
{
    // Tests run as root, whom no permission stops: the player is "nobody"
    // here, the file is theirs to see but not to read, in a folder they
    // cannot write.
    const QByteArray bytes("[SaveGame]\nSaw1=9\nSaw2=1\nSaw3=10\nSaw4=1\n");
    ASSERT_TRUE(writeFile(folder.storeFile(), bytes));
    ASSERT_EQ(::chmod(QFile::encodeName(folder.storeFile()).constData(), 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    Session session;
    std::optional<StoredTexts> seen;
    {
        const AsNobody player;
        seen = tryReadFromDisk();
        session = playOnDisk();
    }
    EXPECT_FALSE(seen) << "read as if it were a store: " << describe(seen.value_or(StoredTexts{}));
    EXPECT_EQ(session.deaths, 5u);
    EXPECT_EQ(session.badDataBoxes, 1) << "continue answers with the bad-data box";
    EXPECT_EQ(session.saveFailureBoxes, 1);
    EXPECT_EQ(session.otherBoxes, 0);
    // Read back: a test that does not run as root needs its read permission again.
    ASSERT_EQ(::chmod(QFile::encodeName(folder.storeFile()).constData(), 0400), 0);
    EXPECT_EQ(fileBytes(folder.storeFile()), bytes) << "the stored save is intact";
}

} // namespace
} // namespace zw::reliability
