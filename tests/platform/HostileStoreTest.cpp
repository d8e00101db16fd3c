// The store against a hostile desktop: whatever stands at its path that is
// not an ordinary file is never read, never replaced and never waited on;
// a file that cannot be read or is far too large is not taken for a save;
// the new files of saves cut short are cleared away, and nothing else.

#include "ConfigHome.h"
#include "FreshProcess.h"
#include "HostileStore.h"
#include "SaveSet.h"
#include "game/RuntimeError.h"
#include "game/UnreadableStore.h"
#include "platform/SettingsStore.h"
#include "platform/StoreFile.h"

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
            EXPECT_THROW(SettingsStore().read(StoreApp, SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")),
                         UnreadableStore);
            try {
                SettingsStore().writeAll(StoreApp, SaveSection, saveSet(4, 2));
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
            EXPECT_THROW(SettingsStore().read(StoreApp, SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")),
                         UnreadableStore);
            EXPECT_THROW(SettingsStore().writeAll(StoreApp, SaveSection, saveSet(4, 2)), RuntimeError);
        }
        EXPECT_EQ(nodeState(home.storeFile()), before);
        EXPECT_EQ(fileBytes(home.storeFile()), save);
    }
}

// A store of many megabytes is damaged data. It is never read whole, not
// even while a save replaces it with the four values: so it costs a new
// game and a death no more than a store of a few bytes does.
TEST(OversizedStore, IsNeverReadAndTheNextSaveReplacesIt)
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
        const qint64 before = bytesReadSoFar();
        ASSERT_GE(before, 0) << "no /proc/self/io to count reads with";

        EXPECT_THROW(SettingsStore().read(StoreApp, SaveSection, QStringLiteral("Saw1"), QStringLiteral("1")),
                     UnreadableStore);
        SettingsStore().writeAll(StoreApp, SaveSection, saveSet(1, 0));
        EXPECT_LT(bytesReadSoFar() - before, 1024 * 1024) << "the big store was read";

        EXPECT_EQ(fileBytes(home.storeFile()), "[SaveGame]\nSaw1=1\nSaw2=0\nSaw3=1\nSaw4=0\n");
        for (int death = 1; death <= 3; ++death)
            SettingsStore().writeAll(StoreApp, SaveSection, saveSet(1, death));
        EXPECT_EQ(SettingsStore().read(StoreApp, SaveSection, QStringLiteral("Saw2"), QStringLiteral("?")), "3");
    }
}

// The borders of "far too large", on the store's own reader.
TEST(OversizedStore, SixtyFourKibibytesIsTheLargestStoreRead)
{
    const struct { qint64 size; platform::StoreFile::State state; } cases[] = {
        {0, platform::StoreFile::Ordinary},
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

// What a save cut short leaves: the store's name, a dot and six characters.
// The next save clears those away, beside the store and beside the file a
// link of the store leads to, and touches nothing else.
TEST(SaveLeftovers, TheNextSaveRemovesThemAndNothingElse)
{
    ConfigHome home;
    QTemporaryDir elsewhere;
    const QString linked = elsewhere.filePath(QStringLiteral("zigwalk.conf"));
    writeBytes(linked, "[SaveGame]\nSaw1=2\nSaw2=0\nSaw3=2\nSaw4=0\n");
    ASSERT_TRUE(linkStoreTo(home, linked));

    const QString store = QStringLiteral("Zigwalk_Korvel.conf");
    const QStringList leftovers = {store + ".AbCdEf", store + ".qwerty", store + ".X1y2Z3"};
    const QStringList keptFiles = {store + ".AbCdE",  store + ".AbCdEfG", store + ".Ab-dEf", store + "XAbCdEf",
                                   "Other.conf.AbCdEf", "Zigwalk_Korvel.AbCdEf", store + ".lock.AbCdEf"};
    for (const QString& name : leftovers + keptFiles)
        writeBytes(home.path() + '/' + name, "[SaveGame]\nSaw1=");
    writeBytes(elsewhere.filePath("zigwalk.conf.QwErTy"), "[Save");   // a leftover beside the link's target
    writeBytes(elsewhere.filePath("notes.txt.QwErTy"), "mine");       // not the store's
    // Named like a leftover, but no ordinary file: none of them is touched.
    ASSERT_TRUE(QDir().mkpath(home.path() + '/' + store + ".FoLder"));
    ASSERT_EQ(::mkfifo(encoded(home.path() + '/' + store + ".PiPeXx").constData(), 0600), 0);
    ASSERT_EQ(::symlink(encoded(elsewhere.filePath("notes.txt.QwErTy")).constData(),
                        encoded(home.path() + '/' + store + ".LiNkXx").constData()), 0);

    SettingsStore().writeAll(StoreApp, SaveSection, saveSet(3, 1));

    QStringList expected = keptFiles + QStringList{store, store + ".FoLder", store + ".PiPeXx", store + ".LiNkXx"};
    expected.sort();
    EXPECT_EQ(folderEntries(home.path()), expected);
    EXPECT_EQ(folderEntries(elsewhere.path()), (QStringList{"notes.txt.QwErTy", "zigwalk.conf"}));
    EXPECT_EQ(fileBytes(elsewhere.filePath("notes.txt.QwErTy")), "mine");
    EXPECT_TRUE(QFileInfo(home.storeFile()).isSymLink()) << "the link itself stays";
    EXPECT_EQ(fileBytes(linked), "[SaveGame]\nSaw1=3\nSaw2=1\nSaw3=4\nSaw4=1\n");
}

TEST(SaveLeftovers, TheNamesTakenForLeftovers)
{
    const QString store = QStringLiteral("Zigwalk_Korvel.conf");
    const struct { const char* name; bool leftover; } cases[] = {
        {"Zigwalk_Korvel.conf.AbCdEf", true},  {"Zigwalk_Korvel.conf.abc123", true},
        {"Zigwalk_Korvel.conf.ABCDEF", true},  {"Zigwalk_Korvel.conf", false},
        {"Zigwalk_Korvel.conf.", false},       {"Zigwalk_Korvel.conf.lock", false},
        {"Zigwalk_Korvel.conf.AbCdE", false},  {"Zigwalk_Korvel.conf.AbCdEfG", false},
        {"Zigwalk_Korvel.conf.Ab Def", false}, {"Zigwalk_Korvel.conf.Ab.Def", false},
        {"Zigwalk_Korvel.conf.ÀbCdEf", false}, {"zigwalk_korvel.conf.AbCdEf", false},
        {"Zigwalk_Korvel.confXAbCdEf", false}, {"xZigwalk_Korvel.conf.AbCdEf", false},
    };
    for (const auto& row : cases)
        EXPECT_EQ(platform::isLeftoverName(QString::fromUtf8(row.name), store), row.leftover) << row.name;
}

// A save killed before its rename leaves its new file behind; the next
// start's first save clears it away.
TEST(SaveLeftovers, ALeftoverOfAKilledSaveIsGoneAfterTheNextSave)
{
    ConfigHome home;
    SettingsStore().writeAll(StoreApp, SaveSection, saveSet(2, 0));
    const QString leftover = home.storeFile() + QStringLiteral(".kIlLeD");
    writeBytes(leftover, "[SaveGame]\nSaw1=3\nSa");

    QProcess saver;
    saver.start(QStringLiteral(SAVE_LOOP_PATH), {"save", "3", "0"});
    ASSERT_TRUE(saver.waitForFinished(30000));
    ASSERT_EQ(saver.exitCode(), 0) << saver.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_EQ(readInFreshProcess().value("Saw1"), "3");
}

// A save works on a private copy in memory for a few milliseconds; a game
// killed right then leaves that copy behind. A later save removes the
// player's own copies that are clearly abandoned, never one in use.
TEST(SaveLeftovers, AbandonedPrivateCopiesAreRemoved)
{
    if (!QFileInfo(QStringLiteral("/dev/shm")).isDir())
        GTEST_SKIP() << "no /dev/shm here";
    ConfigHome home;
    const QString prefix = QStringLiteral("/dev/shm/zigwalk-save-");
    QTemporaryDir abandoned(prefix + "XXXXXX"), inUse(prefix + "XXXXXX"), notOurs(QStringLiteral("/dev/shm/zigwalk-XXXXXX"));
    ASSERT_TRUE(abandoned.isValid() && inUse.isValid() && notOurs.isValid());
    for (QTemporaryDir* dir : {&abandoned, &inUse, &notOurs})
        writeBytes(dir->filePath("store.conf"), "[SaveGame]\nSaw1=");
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    for (QTemporaryDir* dir : {&abandoned, &notOurs})
        ASSERT_EQ(::utimes(encoded(dir->path()).constData(), hourAgo), 0);

    SettingsStore().writeAll(StoreApp, SaveSection, saveSet(2, 0));

    EXPECT_FALSE(QFileInfo::exists(abandoned.path()));
    EXPECT_TRUE(QFileInfo::exists(inUse.filePath("store.conf")));
    EXPECT_TRUE(QFileInfo::exists(notOurs.filePath("store.conf")));
}

} // namespace
} // namespace zw::test
