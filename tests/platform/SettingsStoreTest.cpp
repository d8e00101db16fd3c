// The per-user settings store: texts come back exactly as written, a save
// replaces the file whole, a failed save leaves the old file alone, and a
// damaged store never stops the game; one that cannot be read says so.

#include "ConfigHome.h"
#include "FreshProcess.h"
#include "SaveSet.h"
#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "GameStore.h"
#include "platform/store/AtomicFile.h"
#include "support/PaddedStore.h"

#include <QDir>
#include <QProcess>

#include <optional>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zw::test {
namespace {

using platform::SettingsStore;

const QString Default = QStringLiteral("default");

QString readKey(const QString& key, const QString& section = SaveSection)
{
    return readStored(section, key, Default);
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_ino;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    ConfigHome home;
};

TEST_F(SettingsStoreTest, TheFourValuesOfASaveComeBack)
{
    gameStore().writeAll(SaveSection, saveSet(7, 15));

    EXPECT_EQ(readKey("Saw1"), "7");
    EXPECT_EQ(readKey("Saw2"), "15");
    EXPECT_EQ(readKey("Saw3"), "22");
    EXPECT_EQ(readKey("Saw4"), "1");
}

TEST_F(SettingsStoreTest, AMissingKeyGivesTheDefault)
{
    EXPECT_EQ(readKey("Saw1"), Default); // no store at all
    gameStore().writeAll(SaveSection, {{"Saw1", "3"}});
    EXPECT_EQ(readKey("Saw3"), Default);
    EXPECT_EQ(readKey("Saw1", "OtherSection"), Default);
}

// Every text a value line gives back unchanged comes back exactly; a text
// that a line could not hold as it is (a line break, blanks at either end,
// quotes around it) is refused, and the store stays as it was.
TEST_F(SettingsStoreTest, TextsComeBackExactlyOrAreRefused)
{
    const QStringList storable = {"7", "1,5", "", "@x", "a;b", "x=y", "[SaveGame]", "back\\slash", "tab\there",
                                  "Počet zabití", "-0", "1E+10", "#7", "\"q", "a\"b\""};
    for (const QString& text : storable) {
        gameStore().writeAll(SaveSection, {{"Saw1", text}, {"Saw2", text + text}});
        EXPECT_EQ(readKey("Saw1"), text) << "text [" << text.toStdString() << "]";
        EXPECT_EQ(readKey("Saw2"), text + text) << "text [" << text.toStdString() << "]";
    }
    const QByteArray before = fileBytes(home.storeFile());
    const QStringList refused = {" 7", "7 ", "\"q\"", "line\nbreak", "cr\rlf"};
    for (const QString& text : refused) {
        try {
            gameStore().writeAll(SaveSection, {{"Saw1", "3"}, {"Saw2", text}});
            ADD_FAILURE() << "stored [" << text.toStdString() << "]";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), 5);
        }
        EXPECT_EQ(fileBytes(home.storeFile()), before);
    }
}

// A fresh process, with nothing but XDG_CONFIG_HOME to go by, as the game has.
TEST_F(SettingsStoreTest, TheStoreIsOneFileInTheConfigFolder)
{
    QProcess saver;
    saver.start(QStringLiteral(SAVE_LOOP_PATH), {"save", "7", "15"});
    ASSERT_TRUE(saver.waitForFinished(30000));
    ASSERT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();

    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"Zigwalk_Korvel.conf"});
    EXPECT_EQ(fileBytes(home.storeFile()), "[SaveGame]\nSaw1=7\nSaw2=15\nSaw3=22\nSaw4=1\n");
}

// A new file renamed over the old one: a reader, or a crash, sees either the
// whole old file or the whole new one, never a half-written mix.
TEST_F(SettingsStoreTest, ASaveReplacesTheFileWhole)
{
    gameStore().writeAll(SaveSection, saveSet(3, 4));
    const ino_t first = inodeOf(home.storeFile());
    gameStore().writeAll(SaveSection, saveSet(4, 4));

    EXPECT_NE(inodeOf(home.storeFile()), first);
    EXPECT_EQ(readKey("Saw1"), "4");
    // Nothing is left behind: no temporary copy, no lock.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"Zigwalk_Korvel.conf"});
}

struct BlockedStore {
    const char* name;
    // Prepares the folder and returns what the old store holds, if there is one to keep.
    std::optional<QByteArray> (*prepare)(const ConfigHome&);
};

std::ostream& operator<<(std::ostream& out, const BlockedStore& blocked)
{
    return out << blocked.name;
}

const QByteArray OldStore = "[SaveGame]\nSaw1=5\nSaw2=2\nSaw3=7\nSaw4=2\n";

// The store and its folder the player's own, so that only what the case
// makes of them can stop the save.
std::optional<QByteArray> playersOwn(const ConfigHome& home, const QByteArray& store)
{
    writeBytes(home.storeFile(), store);
    EXPECT_EQ(::chown(QFile::encodeName(home.storeFile()).constData(), AsPlayer::uid(), -1), 0);
    EXPECT_EQ(::chown(QFile::encodeName(home.path()).constData(), AsPlayer::uid(), -1), 0);
    return store;
}

std::optional<QByteArray> readOnlyFolder(const ConfigHome& home)
{
    const auto old = playersOwn(home, OldStore);
    ::chmod(QFile::encodeName(home.path()).constData(), 0555);
    return old;
}

std::optional<QByteArray> readOnlyFile(const ConfigHome& home)
{
    const auto old = playersOwn(home, OldStore);
    ::chmod(QFile::encodeName(home.storeFile()).constData(), 0444);
    return old;
}

// Saving 9 and 9 over 5 and 2 makes Saw3 one digit longer: one byte past the
// size the game reads, so the game would lock itself out of its own save.
std::optional<QByteArray> wouldPassTheSizeLimit(const ConfigHome& home)
{
    return playersOwn(home, paddedStore(OldStore, platform::LargestStore));
}

std::optional<QByteArray> storeIsAFolder(const ConfigHome& home)
{
    QDir().mkpath(home.storeFile());
    return std::nullopt;
}

std::optional<QByteArray> configFolderUnderAFile(const ConfigHome& home)
{
    // The config folder itself cannot be made: a file stands in its way.
    const QString blocker = home.path() + QStringLiteral("/blocker");
    writeBytes(blocker, "not a folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + QStringLiteral("/config")));
    return std::nullopt;
}

class BlockedStoreTest : public SettingsStoreTest, public ::testing::WithParamInterface<BlockedStore> {};

TEST_P(BlockedStoreTest, FailsAndKeepsTheOldStore)
{
    const std::optional<QByteArray> old = GetParam().prepare(home);
    {
        AsPlayer player;
        try {
            gameStore().writeAll(SaveSection, saveSet(9, 9));
            ADD_FAILURE() << "the save went through";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), 75);
            EXPECT_STREQ(error.what(), "Path/File access error");
        }
    }
    if (old) {
        EXPECT_TRUE(fileBytes(home.storeFile()) == *old) << "the old store changed";
        EXPECT_EQ(readKey("Saw1"), "5");
    }
}

INSTANTIATE_TEST_SUITE_P(Blocked, BlockedStoreTest,
                         ::testing::Values(BlockedStore{"ReadOnlyFolder", readOnlyFolder},
                                           BlockedStore{"ReadOnlyFile", readOnlyFile},
                                           BlockedStore{"WouldPassTheSizeLimit", wouldPassTheSizeLimit},
                                           BlockedStore{"StoreIsAFolder", storeIsAFolder},
                                           BlockedStore{"ConfigFolderUnderAFile", configFolderUnderAFile}),
                         [](const auto& info) { return std::string(info.param.name); });

// The limit is the game's own: a save that ends exactly on it is one the game
// reads back, and goes through.
TEST_F(SettingsStoreTest, ASaveThatEndsExactlyAtTheSizeLimitGoesThrough)
{
    const QByteArray grown = paddedStore("[SaveGame]\nSaw1=9\nSaw2=9\nSaw3=18\nSaw4=0\n", platform::LargestStore);
    writeBytes(home.storeFile(), paddedStore(OldStore, platform::LargestStore - 1));
    gameStore().writeAll(SaveSection, saveSet(9, 9));
    EXPECT_TRUE(fileBytes(home.storeFile()) == grown);
    EXPECT_EQ(readKey("Saw3"), "18");
}

struct DamagedStore {
    const char* name;
    QByteArray content; // what the store file holds; unused for the non-file cases
    enum Kind { File, Folder, Unreadable } kind;
    const char* saw1;   // what reading Saw1 and Saw2 gives; nullptr: the store cannot be read at all
    const char* saw2;
};

std::ostream& operator<<(std::ostream& out, const DamagedStore& damaged)
{
    return out << damaged.name;
}

const QByteArray JunkAroundAKey = "\x01\x02junk\n[SaveGame]\nno equals sign\nSaw2=9\n[Broken\n";
const QByteArray HalfASave = "[SaveGame]\nSaw1=4\nSa";

QByteArray garbage()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(char((i * 7919 + 13) % 256));
    return bytes;
}

class DamagedStoreTest : public SettingsStoreTest, public ::testing::WithParamInterface<DamagedStore> {
protected:
    void SetUp() override
    {
        const DamagedStore& damage = GetParam();
        if (damage.kind == DamagedStore::Folder) {
            QDir().mkpath(home.storeFile());
            return;
        }
        writeBytes(home.storeFile(), damage.content);
        if (damage.kind == DamagedStore::Unreadable)
            ::chmod(QFile::encodeName(home.storeFile()).constData(), 0000);
    }
};

TEST_P(DamagedStoreTest, GivesTheDefaultsOrWhatCanBeRead)
{
    AsPlayer player;
    if (!GetParam().saw1) {
        EXPECT_THROW(readKey("Saw1"), UnreadableStore);
        return;
    }
    EXPECT_EQ(readKey("Saw1"), GetParam().saw1);
    EXPECT_EQ(readKey("Saw2"), GetParam().saw2);
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, DamagedStoreTest,
    ::testing::Values(
        DamagedStore{"Garbage", garbage(), DamagedStore::File, "default", "default"},
        DamagedStore{"Empty", "", DamagedStore::File, "default", "default"},
        DamagedStore{"Folder", "", DamagedStore::Folder, nullptr, nullptr},
        DamagedStore{"Unreadable", "[SaveGame]\nSaw1=4\n", DamagedStore::Unreadable, nullptr, nullptr},
        DamagedStore{"JunkAroundAKey", JunkAroundAKey, DamagedStore::File, "default", "9"},
        DamagedStore{"HalfASave", HalfASave, DamagedStore::File, "4", "default"},
        DamagedStore{"CommasWithoutQuotes", "[SaveGame]\nSaw1=1,5\nSaw2=2\n", DamagedStore::File, "1,5", "2"}),
    [](const auto& info) { return std::string(info.param.name); });

// A damaged file is no reason to stop saving: the next save writes a sound
// file that a fresh start of the game reads.
TEST(DamagedStoreRepair, TheNextSaveRepairsADamagedFile)
{
    for (const QByteArray& damage : {garbage(), QByteArray(), JunkAroundAKey, HalfASave}) {
        SCOPED_TRACE("damage " + damage.left(16).toHex().toStdString());
        ConfigHome home;
        writeBytes(home.storeFile(), damage);
        gameStore().writeAll(SaveSection, saveSet(6, 1));

        const QMap<QString, QString> saved = readInFreshProcess();
        EXPECT_EQ(saved.value("Saw1"), "6");
        EXPECT_EQ(saved.value("Saw2"), "1");
        EXPECT_EQ(saved.value("Saw3"), "7");
        EXPECT_EQ(saved.value("Saw4"), "1");
    }
}

} // namespace
} // namespace zw::test
