// The store against a hostile desktop: whatever stands at its path that is
// not an ordinary file is never read, never replaced and never waited on;
// a file that cannot be read or is far too large is not taken for a save;
// the new files of saves cut short are cleared away, and nothing else:
// never a copy of the store the player made.

#include "ConfigHome.h"
#include "FreshProcess.h"
#include "HostileStore.h"
#include "SaveSet.h"
#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"
#include "GameStore.h"
#include "platform/store/AtomicFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/time.h>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::SettingsStore;

QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

class NotAFile : public HostileStoreTest {};

TEST_P(NotAFile, IsNeitherReadNorReplacedNorWaitedOn)
{
    const NodeState storeBefore = nodeState(home.storeFile());
    const NodeState thingBefore = nodeState(place.thing);
    const QStringList entriesBefore = folderEntries(home.path());

    finishesWithoutWaiting(
        [] {
            EXPECT_THROW(readStored(SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")),
                         UnreadableStore);
            try {
                gameStore().writeAll(SaveSection, saveSet(4, 2));
                ADD_FAILURE() << "the save was said to go through";
            } catch (const RuntimeError& error) {
                EXPECT_EQ(error.number(), 75);
            }
        },
        place.thing);

    EXPECT_EQ(nodeState(home.storeFile()), storeBefore);
    EXPECT_EQ(nodeState(place.thing), thingBefore);
    EXPECT_EQ(folderEntries(home.path()), entriesBefore) << "nothing new left in the settings folder";
}

INSTANTIATE_TEST_SUITE_P(Hostile, NotAFile, ::testing::ValuesIn(HostileKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// A file the player may not read may still hold their save: it is neither
// taken as an empty store nor replaced, whether or not the folder would let
// a save put a new file in its place.
TEST(UnreadableStoreFile, IsNotTakenForAnEmptyStoreNorReplaced)
{
    const QByteArray save = "[SaveGame]\nSaw1=9\nSaw2=1\nSaw3=10\nSaw4=1\n";
    const struct { const char* what; bool playersFolder; } cases[] = {
        {"in a folder the player may write", true},
        {"in a folder the player may not write", false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        ConfigHome home;
        writeBytes(home.storeFile(), save);
        ASSERT_EQ(::chmod(encoded(home.storeFile()).constData(), 0), 0);
        if (row.playersFolder) {
            ASSERT_EQ(::chown(encoded(home.path()).constData(), AsPlayer::uid(), -1), 0);
        }
        const NodeState before = nodeState(home.storeFile());
        {
            AsPlayer player;
            EXPECT_THROW(readStored(SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")),
                         UnreadableStore);
            EXPECT_THROW(gameStore().writeAll(SaveSection, saveSet(4, 2)), RuntimeError);
        }
        EXPECT_EQ(nodeState(home.storeFile()), before);
        // Read back: a test that does not run as root needs its read permission again.
        ASSERT_EQ(::chmod(encoded(home.storeFile()).constData(), 0400), 0);
        EXPECT_EQ(fileBytes(home.storeFile()), save);
    }
}

// A store far larger than any save with notes beside it is never read
// whole: continue takes it as bad data, and a save fails with the file
// access error and leaves it exactly as it was, neither replaced nor cut.
TEST(OversizedStore, IsNeverReadNorReplaced)
{
    for (const qint64 megabytes : {10, 50}) {
        SCOPED_TRACE(std::to_string(megabytes) + " MB");
        ConfigHome home;
        {
            QFile file(home.storeFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            const QByteArray line = "[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n" + QByteArray(1000, ';') + '\n';
            while (file.size() < megabytes * 1024 * 1024)
                ASSERT_EQ(file.write(line), line.size());
        }
        const NodeState before = nodeState(home.storeFile());
        const qint64 readBefore = bytesReadSoFar();
        ASSERT_GE(readBefore, 0) << "no /proc/self/io to count reads with";

        EXPECT_THROW(readStored(SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")), UnreadableStore);
        EXPECT_THROW(gameStore().writeAll(SaveSection, saveSet(1, 0)), RuntimeError);
        EXPECT_LT(bytesReadSoFar() - readBefore, 1024 * 1024) << "the big store was read";
        EXPECT_EQ(nodeState(home.storeFile()), before);
    }
}

// A store of a megabyte (a player's long notes) is read and edited like a
// small one: the game's values change, every other byte stays.
TEST(OversizedStore, AMegabyteStoreIsEditedLikeASmallOne)
{
    ConfigHome home;
    const QByteArray notes = "[Notes]\r\n" + QByteArray(1024 * 1024, 'n') + "\r\n";
    writeBytes(home.storeFile(), notes + "[SaveGame]\r\nSaw1=3\r\nSaw2=0\r\nSaw3=3\r\nSaw4=0\r\n");
    EXPECT_EQ(readStored(SaveSection, QStringLiteral("Saw1"), QStringLiteral("?")), "3");
    gameStore().writeAll(SaveSection, saveSet(4, 9));
    EXPECT_EQ(fileBytes(home.storeFile()), notes + "[SaveGame]\r\nSaw1=4\r\nSaw2=9\r\nSaw3=13\r\nSaw4=1\r\n");
}

// The borders of "far too large", on the store's own reader.
TEST(OversizedStore, TheLargestStoreRead)
{
    const struct { qint64 size; platform::StoreFile::State state; } cases[] = {
        {0, platform::StoreFile::Ordinary},
        {1024 * 1024, platform::StoreFile::Ordinary},
        {platform::LargestStore, platform::StoreFile::Ordinary},
        {platform::LargestStore + 1, platform::StoreFile::TooLarge},
        {10 * 1024 * 1024, platform::StoreFile::TooLarge},
    };
    for (const auto& row : cases) {
        ConfigHome home;
        writeBytes(home.storeFile(), QByteArray(row.size, ';'));
        const platform::StoreFile found = platform::readStoreFile(home.storeFile());
        EXPECT_EQ(found.state, row.state) << row.size << " bytes";
        EXPECT_EQ(found.bytes.size(), row.state == platform::StoreFile::Ordinary ? row.size : 0) << row.size;
    }
}

// Leftovers of an earlier run: files a minute untouched and more.
void makeOld(const QString& path)
{
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::lutimes(encoded(path).constData(), hourAgo), 0) << path.toStdString();
}

// What a save cut short leaves: the store's name, ".saving-" and six
// characters. The first save of a run clears those away, beside the store
// and beside the file a link of the store leads to; every other file, the
// player's own copies of the store among them, survives any number of saves.
TEST(SaveLeftovers, ThePlayersFilesSurviveEverySaveAndLeftoversGo)
{
    ConfigHome home;
    QTemporaryDir elsewhere;
    const QString linked = elsewhere.filePath(QStringLiteral("zigwalk.conf"));
    writeBytes(linked, "[SaveGame]\nSaw1=2\nSaw2=0\nSaw3=2\nSaw4=0\n");
    ASSERT_TRUE(linkStoreTo(home, linked));

    const QString store = QStringLiteral("Zigwalk_Korvel.conf");
    const QStringList leftovers = {store + ".saving-BCDFGH", store + ".saving-XKCDQZ", store + ".saving-ZZZZZZ"};
    const QStringList keptFiles = {store + ".backup",          store + ".before",          store + ".level9",
                                   store + ".mycopy",          store + ".BCDFGH",          store + ".saving-BCDFG",
                                   store + ".saving-BCDFGHJ",  store + ".saving-BC-FGH",   store + ".savingBCDFGH",
                                   "Other.conf.saving-BCDFGH", store + ".lock.saving-BCDFGH",
                                   store + ".saving-backup",   store + ".saving-BACKUP",   store + ".saving-2024v1",
                                   store + ".saving-bcdfgh"};
    for (const QString& name : leftovers + keptFiles) {
        writeBytes(home.path() + '/' + name, name.toUtf8());
        makeOld(home.path() + '/' + name);
    }
    // Named like a leftover, but new: another copy of the game may be writing it.
    writeBytes(home.path() + '/' + store + ".saving-NWNWNW", "[Save");
    // Named like a leftover, but another user's (only root can give a file away).
    const bool root = ::geteuid() == 0;
    if (root) {
        writeBytes(home.path() + '/' + store + ".saving-THRSXX", "[Save");
        ASSERT_EQ(::chown(encoded(home.path() + '/' + store + ".saving-THRSXX").constData(), AsPlayer::uid(), -1), 0);
        makeOld(home.path() + '/' + store + ".saving-THRSXX");
    }
    writeBytes(elsewhere.filePath("zigwalk.conf.saving-QWRTZX"), "[Save"); // a leftover beside the link's target
    writeBytes(elsewhere.filePath("zigwalk.conf.backup"), "mine");
    writeBytes(elsewhere.filePath("notes.txt.saving-QWRTZX"), "mine"); // not the store's
    for (const char* name : {"zigwalk.conf.saving-QWRTZX", "zigwalk.conf.backup", "notes.txt.saving-QWRTZX"})
        makeOld(elsewhere.filePath(name));
    // Named like a leftover, but no ordinary file: none of them is touched.
    ASSERT_TRUE(QDir().mkpath(home.path() + '/' + store + ".saving-FLDRXX"));
    ASSERT_EQ(::mkfifo(encoded(home.path() + '/' + store + ".saving-PPXXXX").constData(), 0600), 0);
    ASSERT_EQ(::symlink(encoded(elsewhere.filePath("notes.txt.saving-QWRTZX")).constData(),
                        encoded(home.path() + '/' + store + ".saving-LNKXXX").constData()), 0);
    for (const char* name : {".saving-FLDRXX", ".saving-PPXXXX", ".saving-LNKXXX"})
        makeOld(home.path() + '/' + store + name);

    for (int death = 1; death <= 20; ++death)
        gameStore().writeAll(SaveSection, saveSet(3, death));

    QStringList expected = keptFiles + QStringList{store, store + ".saving-NWNWNW", store + ".saving-FLDRXX",
                                                   store + ".saving-PPXXXX", store + ".saving-LNKXXX"};
    if (root)
        expected << store + ".saving-THRSXX";
    expected.sort();
    EXPECT_EQ(folderEntries(home.path()), expected);
    for (const QString& name : keptFiles)
        EXPECT_EQ(fileBytes(home.path() + '/' + name), name.toUtf8()) << name.toStdString();
    EXPECT_EQ(folderEntries(elsewhere.path()),
              (QStringList{"notes.txt.saving-QWRTZX", "zigwalk.conf", "zigwalk.conf.backup"}));
    EXPECT_EQ(fileBytes(elsewhere.filePath("notes.txt.saving-QWRTZX")), "mine");
    EXPECT_EQ(fileBytes(elsewhere.filePath("zigwalk.conf.backup")), "mine");
    EXPECT_TRUE(QFileInfo(home.storeFile()).isSymLink()) << "the link itself stays";
    EXPECT_EQ(fileBytes(linked), "[SaveGame]\nSaw1=3\nSaw2=20\nSaw3=23\nSaw4=2\n");
}

TEST(SaveLeftovers, TheNamesTakenForLeftovers)
{
    const QString store = QStringLiteral("Zigwalk_Korvel.conf");
    const struct { const char* name; bool leftover; } cases[] = {
        {"Zigwalk_Korvel.conf.saving-BCDFGH", true},   {"Zigwalk_Korvel.conf.saving-ZXWVTS", true},
        {"Zigwalk_Korvel.conf.saving-ABCDEF", false},  {"Zigwalk_Korvel.conf", false},
        {"Zigwalk_Korvel.conf.saving-backup", false},  {"Zigwalk_Korvel.conf.saving-BACKUP", false},
        {"Zigwalk_Korvel.conf.saving-2024v1", false},  {"Zigwalk_Korvel.conf.saving-bcdfgh", false},
        {"Zigwalk_Korvel.conf.saving-BCDFG1", false},
        {"Zigwalk_Korvel.conf.saving-", false},        {"Zigwalk_Korvel.conf.lock", false},
        {"Zigwalk_Korvel.conf.AbCdEf", false},         {"Zigwalk_Korvel.conf.backup", false},
        {"Zigwalk_Korvel.conf.before", false},         {"Zigwalk_Korvel.conf.level9", false},
        {"Zigwalk_Korvel.conf.saving-BCDFG", false},    {"Zigwalk_Korvel.conf.saving-BCDFGHJ", false},
        {"Zigwalk_Korvel.conf.saving-BC DFG", false},  {"Zigwalk_Korvel.conf.saving-BC.DFG", false},
        {"Zigwalk_Korvel.conf.saving-ÀBCDFG", false},  {"zigwalk_korvel.conf.saving-BCDFGH", false},
        {"Zigwalk_Korvel.conf.Saving-BCDFGH", false},  {"xZigwalk_Korvel.conf.saving-BCDFGH", false},
    };
    for (const auto& row : cases)
        EXPECT_EQ(platform::isLeftoverName(QString::fromUtf8(row.name), store), row.leftover) << row.name;
}

// A save killed before its rename leaves its new file behind; the next
// start's first save clears it away.
TEST(SaveLeftovers, ALeftoverOfAKilledSaveIsGoneAfterTheNextSave)
{
    ConfigHome home;
    gameStore().writeAll(SaveSection, saveSet(2, 0));
    const QString leftover = home.storeFile() + QStringLiteral(".saving-KLLDXX");
    writeBytes(leftover, "[SaveGame]\nSaw1=3\nSa");
    makeOld(leftover);

    QProcess saver;
    saver.start(QStringLiteral(SAVE_LOOP_PATH), {"save", "3", "0"});
    ASSERT_TRUE(saver.waitForFinished(30000));
    ASSERT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_EQ(readInFreshProcess().value("Saw1"), "3");
}

// The folder is looked through once a run, not on every save: in a folder
// of many files each look would cost every death a wait.
TEST(SaveLeftovers, TheFolderIsLookedThroughOnceARun)
{
    ConfigHome home;
    const QString first = home.storeFile() + QStringLiteral(".saving-FRSTXX");
    writeBytes(first, "[Save");
    makeOld(first);
    gameStore().writeAll(SaveSection, saveSet(2, 0));
    EXPECT_FALSE(QFileInfo::exists(first));

    const QString second = home.storeFile() + QStringLiteral(".saving-SCNDXX");
    writeBytes(second, "[Save");
    makeOld(second);
    gameStore().writeAll(SaveSection, saveSet(2, 1));
    EXPECT_TRUE(QFileInfo::exists(second)) << "a second save looked through the folder again";
}

} // namespace
} // namespace zw::test
