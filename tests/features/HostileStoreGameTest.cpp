// A new game, deaths and continue with the real store on disk when the
// store's path holds something hostile: the game reaches level 1 and plays
// on, never waits on what it finds, tells each failure when it starts, and
// leaves alone whatever is not its own ordinary file.

#include "ConfigHome.h"
#include "support/FixturePictures.h"
#include "HostileStore.h"
#include "LoadMessages.h"
#include "ProgramStart.h"

#include "game/Game.h"
#include "base/RuntimeError.h"
#include "platform/store/AtomicFile.h"
#include "support/PaddedStore.h"

#include <gtest/gtest.h>
#include <sys/time.h>

namespace zw::test {
namespace {

const QString SaveFailed = RuntimeError(75, "Path/File access error").boxText();

// One start of the program, played by the hostile-store tests.
class Player : public ProgramStart {
public:
    void moveTo(Colour colour)
    {
        const QPointF at = spotOf(colour);
        game.Form_MouseMove(0, 0, float(at.x()), float(at.y()));
    }
    void newGame()
    {
        press(ColorNewGame);
        sweep();
    }
    void die()
    {
        press(ColorStart);
        moveTo(ColorWall);
    }
};

class HostileStoreGame : public HostileStoreTest {};

// The failing save is told at the first save, not again on the deaths that
// follow; continue answers with the bad-data box and goes one level on.
TEST_P(HostileStoreGame, NewGamePlaysOnAndContinueSaysBadData)
{
    const NodeState before = nodeState(place.thing);
    const NodeState storeBefore = nodeState(home.storeFile());

    finishesWithoutWaiting(
        [] {
            Player player;
            player.newGame();
            EXPECT_EQ(player.s.Level, 1.0f);
            for (int death = 1; death <= 3; ++death)
                player.die();
            EXPECT_EQ(player.s.Deaths, 3.0f);
            EXPECT_EQ(player.prompts(), QStringList{SaveFailed}) << "told once, when saving failed";

            Player next;
            next.press(ColorContinue);
            EXPECT_EQ(next.prompts(), (QStringList{BadData, SaveFailed}));
            EXPECT_EQ(next.platform.boxes.value(0).style, 0);
            EXPECT_EQ(next.s.Level, 1.0f) << "from the menu, one level on";
            EXPECT_EQ(next.s.Deaths, 0.0f);
        },
        place.thing);

    EXPECT_EQ(nodeState(place.thing), before);
    EXPECT_EQ(nodeState(home.storeFile()), storeBefore);
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileStoreGame, ::testing::ValuesIn(HostileKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// The store taken away and given back while the game runs: every time
// saving stops working the player hears of it, once.
TEST(StoreComesAndGoes, EveryFailureIsToldWhenItStarts)
{
    ConfigHome home;
    Player player;
    player.newGame();
    ASSERT_TRUE(player.prompts().isEmpty());

    const QString aside = home.path() + QStringLiteral("/aside");
    const auto breakStore = [&] {
        ASSERT_EQ(::rename(encoded(home.storeFile()).constData(), encoded(aside).constData()), 0);
        ASSERT_EQ(::mkfifo(encoded(home.storeFile()).constData(), 0600), 0);
    };
    const auto mendStore = [&] {
        ASSERT_EQ(::unlink(encoded(home.storeFile()).constData()), 0);
        ASSERT_EQ(::rename(encoded(aside).constData(), encoded(home.storeFile()).constData()), 0);
    };
    finishesWithoutWaiting(
        [&] {
            breakStore();
            player.die();
            player.die();
            EXPECT_EQ(player.prompts().size(), 1) << "told when saving stopped working";
            mendStore();
            player.die();
            EXPECT_EQ(player.prompts().size(), 1) << "a save that works says nothing";
            breakStore();
            player.die();
            player.die();
            EXPECT_EQ(player.prompts(), (QStringList{SaveFailed, SaveFailed})) << "told again after it had worked";
            mendStore();
        },
        home.storeFile());
    EXPECT_EQ(player.s.Deaths, 5.0f);
}

// A store the player may not read: continue says bad data, the save that
// cannot replace it is told, and the file keeps what it held.
TEST(UnreadableStoreGame, ContinueSaysBadDataAndTheFileIsKept)
{
    ConfigHome home;
    const QByteArray save = "[SaveGame]\nSaw1=9\nSaw2=1\nSaw3=10\nSaw4=1\n";
    writeBytes(home.storeFile(), save);
    ASSERT_EQ(::chmod(encoded(home.storeFile()).constData(), 0), 0);
    {
        AsPlayer asPlayer;
        Player player;
        player.press(ColorContinue);
        EXPECT_EQ(player.prompts(), (QStringList{BadData, SaveFailed}));
        EXPECT_EQ(player.s.Level, 1.0f);
        EXPECT_EQ(player.s.Deaths, 0.0f);
    }
    // Read back: a test that does not run as root needs its read permission again.
    ASSERT_EQ(::chmod(encoded(home.storeFile()).constData(), 0400), 0);
    EXPECT_EQ(fileBytes(home.storeFile()), save);
}

// A 10 MB store, a leftover of a save cut short beside the store: a new game
// reaches level 1 without a word, reads nothing of the big file, and leaves
// a sound store of the four values behind.
TEST(MessyStoreGame, ANewGamePlaysOnAndCleansUp)
{
    ConfigHome home;
    {
        QFile big(home.storeFile());
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(10 * 1024 * 1024));
    }
    const QString leftover = home.storeFile() + QStringLiteral(".saving-BCDFGH");
    writeBytes(leftover, "[SaveGame]\nSa");
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(leftover).constData(), hourAgo), 0);

    const qint64 before = bytesReadSoFar();
    Player player;
    player.newGame();
    player.die();
    player.die();
    EXPECT_LT(bytesReadSoFar() - before, 1024 * 1024) << "the big store was read";
    EXPECT_EQ(player.s.Level, 1.0f);
    EXPECT_EQ(player.s.Deaths, 2.0f);
    EXPECT_EQ(player.prompts(), QStringList{"Run-time error '75':\n\nPath/File access error"}) << "told once";
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_EQ(QFileInfo(home.storeFile()).size(), 10 * 1024 * 1024) << "the big store is neither replaced nor cut";

    Player next;
    next.press(ColorContinue);
    // Bad data, then the level change's save, told once in this run too.
    EXPECT_EQ(next.prompts(),
              (QStringList{"chyba při načítání, chybná data", "Run-time error '75':\n\nPath/File access error"}));
}

// A store the player filled to exactly the size the game reads, its save
// first: continue reads it, and the save that would push the file past that
// size is refused and told once, so the file stays one the game reads, and
// the next continue still finds the saved level.
TEST(StoreAtItsSizeLimit, ASaveThatWouldPassItIsRefusedAndTheSavedLevelStays)
{
    ConfigHome home;
    const QByteArray store = paddedStore("[SaveGame]\nSaw1=3\nSaw2=9\nSaw3=12\nSaw4=0\n", platform::LargestStore);
    writeBytes(home.storeFile(), store);
    {
        Player player;
        player.press(ColorContinue);
        player.sweep();
        EXPECT_EQ(player.s.Level, 3.0f);
        EXPECT_EQ(player.s.Deaths, 9.0f);
        player.die(); // saves 3 and 9 again: the same size
        EXPECT_TRUE(player.prompts().isEmpty());
        player.die(); // 3 and 10: one byte more
        player.die();
        EXPECT_EQ(player.s.Deaths, 12.0f) << "the deaths still count";
        EXPECT_EQ(player.prompts(), QStringList{SaveFailed}) << "told once";
    }
    EXPECT_LE(QFileInfo(home.storeFile()).size(), platform::LargestStore);
    EXPECT_TRUE(fileBytes(home.storeFile()) == store) << "the store changed";

    Player next;
    next.press(ColorContinue);
    next.sweep();
    EXPECT_TRUE(next.prompts().isEmpty()) << next.prompts().join('|').toStdString();
    EXPECT_EQ(next.s.Level, 3.0f);
    EXPECT_EQ(next.s.Deaths, 9.0f);
}

} // namespace
} // namespace zw::test
