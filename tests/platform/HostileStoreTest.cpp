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
#include "platform/store/SettingsStore.h"
#include "platform/store/StoreFile.h"

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
    const QStringList leftovers = {store + ".saving-AbCdEf", store + ".saving-qwerty", store + ".saving-X1y2Z3"};
    const QStringList keptFiles = {store + ".backup",          store + ".before",          store + ".level9",
                                   store + ".mycopy",          store + ".AbCdEf",          store + ".saving-AbCdE",
                                   store + ".saving-AbCdEfG",  store + ".saving-Ab-dEf",   store + ".savingAbCdEf",
                                   "Other.conf.saving-AbCdEf", store + ".lock.saving-AbCdEf"};
    for (const QString& name : leftovers + keptFiles) {
        writeBytes(home.path() + '/' + name, name.toUtf8());
        makeOld(home.path() + '/' + name);
    }
    // Named like a leftover, but new: another copy of the game may be writing it.
    writeBytes(home.path() + '/' + store + ".saving-NeWnEw", "[Save");
    // Named like a leftover, but another user's (only root can give a file away).
    const bool root = ::geteuid() == 0;
    if (root) {
        writeBytes(home.path() + '/' + store + ".saving-OtHeRs", "[Save");
        ASSERT_EQ(::chown(encoded(home.path() + '/' + store + ".saving-OtHeRs").constData(), AsPlayer::uid(), -1), 0);
        makeOld(home.path() + '/' + store + ".saving-OtHeRs");
    }
    writeBytes(elsewhere.filePath("zigwalk.conf.saving-QwErTy"), "[Save"); // a leftover beside the link's target
    writeBytes(elsewhere.filePath("zigwalk.conf.backup"), "mine");
    writeBytes(elsewhere.filePath("notes.txt.saving-QwErTy"), "mine"); // not the store's
    for (const char* name : {"zigwalk.conf.saving-QwErTy", "zigwalk.conf.backup", "notes.txt.saving-QwErTy"})
        makeOld(elsewhere.filePath(name));
    // Named like a leftover, but no ordinary file: none of them is touched.
    ASSERT_TRUE(QDir().mkpath(home.path() + '/' + store + ".saving-FoLder"));
    ASSERT_EQ(::mkfifo(encoded(home.path() + '/' + store + ".saving-PiPeXx").constData(), 0600), 0);
    ASSERT_EQ(::symlink(encoded(elsewhere.filePath("notes.txt.saving-QwErTy")).constData(),
                        encoded(home.path() + '/' + store + ".saving-LiNkXx").constData()), 0);
    for (const char* name : {".saving-FoLder", ".saving-PiPeXx", ".saving-LiNkXx"})
        makeOld(home.path() + '/' + store + name);

    for (int death = 1; death <= 20; ++death)
        SettingsStore().writeAll(StoreApp, SaveSection, saveSet(3, death));

    QStringList expected = keptFiles + QStringList{store, store + ".saving-NeWnEw", store + ".saving-FoLder",
                                                   store + ".saving-PiPeXx", store + ".saving-LiNkXx"};
    if (root)
        expected << store + ".saving-OtHeRs";
    expected.sort();
    EXPECT_EQ(folderEntries(home.path()), expected);
    for (const QString& name : keptFiles)
        EXPECT_EQ(fileBytes(home.path() + '/' + name), name.toUtf8()) << name.toStdString();
    EXPECT_EQ(folderEntries(elsewhere.path()),
              (QStringList{"notes.txt.saving-QwErTy", "zigwalk.conf", "zigwalk.conf.backup"}));
    EXPECT_EQ(fileBytes(elsewhere.filePath("notes.txt.saving-QwErTy")), "mine");
    EXPECT_EQ(fileBytes(elsewhere.filePath("zigwalk.conf.backup")), "mine");
    EXPECT_TRUE(QFileInfo(home.storeFile()).isSymLink()) << "the link itself stays";
    EXPECT_EQ(fileBytes(linked), "[SaveGame]\nSaw1=3\nSaw2=20\nSaw3=23\nSaw4=2\n");
}

TEST(SaveLeftovers, TheNamesTakenForLeftovers)
{
    const QString store = QStringLiteral("Zigwalk_Korvel.conf");
    const struct { const char* name; bool leftover; } cases[] = {
        {"Zigwalk_Korvel.conf.saving-AbCdEf", true},   {"Zigwalk_Korvel.conf.saving-abc123", true},
        {"Zigwalk_Korvel.conf.saving-ABCDEF", true},   {"Zigwalk_Korvel.conf", false},
        {"Zigwalk_Korvel.conf.saving-", false},        {"Zigwalk_Korvel.conf.lock", false},
        {"Zigwalk_Korvel.conf.AbCdEf", false},         {"Zigwalk_Korvel.conf.backup", false},
        {"Zigwalk_Korvel.conf.before", false},         {"Zigwalk_Korvel.conf.level9", false},
        {"Zigwalk_Korvel.conf.saving-AbCdE", false},   {"Zigwalk_Korvel.conf.saving-AbCdEfG", false},
        {"Zigwalk_Korvel.conf.saving-Ab Def", false},  {"Zigwalk_Korvel.conf.saving-Ab.Def", false},
        {"Zigwalk_Korvel.conf.saving-ÀbCdEf", false},  {"zigwalk_korvel.conf.saving-AbCdEf", false},
        {"Zigwalk_Korvel.conf.Saving-AbCdEf", false},  {"xZigwalk_Korvel.conf.saving-AbCdEf", false},
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
    const QString leftover = home.storeFile() + QStringLiteral(".saving-kIlLeD");
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
    const QString first = home.storeFile() + QStringLiteral(".saving-FiRsTt");
    writeBytes(first, "[Save");
    makeOld(first);
    SettingsStore().writeAll(StoreApp, SaveSection, saveSet(2, 0));
    EXPECT_FALSE(QFileInfo::exists(first));

    const QString second = home.storeFile() + QStringLiteral(".saving-SeCoNd");
    writeBytes(second, "[Save");
    makeOld(second);
    SettingsStore().writeAll(StoreApp, SaveSection, saveSet(2, 1));
    EXPECT_TRUE(QFileInfo::exists(second)) << "a second save looked through the folder again";
}

} // namespace
} // namespace zw::test
