// Saves of two copies of the game take turns through an flock beside the
// store: a lock held by another copy is waited for and never taken away,
// one left by a killed copy is taken over at once, and the lock file holds
// nothing and is the player's alone.

#include "ConfigHome.h"
#include "FreshProcess.h"
#include "GameStore.h"
#include "SaveSet.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <array>
#include <chrono>
#include <memory>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace zw::test {
namespace {

QString lockOf(const ConfigHome& home) { return home.storeFile() + QStringLiteral(".lock"); }

QStringList entriesOf(const ConfigHome& home)
{
    return QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

// Another copy of the game in the middle of a save holds the lock: a save
// waits for it a while, then goes through all the same, but leaves the
// folder to the holder; a save after it is let go clears the folder.
TEST(StoreLock, ASaveHonoursTheLockOfAnotherCopy)
{
    ConfigHome home;
    const QByteArray lockFile = QFile::encodeName(lockOf(home));
    const QString leftover = home.storeFile() + QStringLiteral(".saving-BCDFGH");
    writeBytes(leftover, "[SaveGame]\nSa");
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(leftover).constData(), hourAgo), 0);

    const int holder = ::open(lockFile.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    gameStore().writeAll(SaveSection, saveSet(4, 1));
    EXPECT_EQ(readStored(SaveSection, "Saw1", {}), "4");
    EXPECT_TRUE(QFileInfo::exists(leftover)) << "a save without the lock cleared the folder";
    EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(lockFile))) << "the holder's lock file was taken away";
    ::close(holder);

    gameStore().writeAll(SaveSection, saveSet(5, 1));
    EXPECT_EQ(readStored(SaveSection, "Saw1", {}), "5");
    EXPECT_FALSE(QFileInfo::exists(leftover));
    EXPECT_EQ(entriesOf(home), QStringList{"Zigwalk_Korvel.conf"})
        << "the lock the holder left is taken over and removed";
}

// Two copies saving as fast as they can, killed together: neither ever
// failed to save, the store holds one whole set, and a lock file the kill
// left is empty and private, and goes with the next save.
TEST(StoreLock, TwoCopiesSavingAtOnceTakeTurns)
{
    ConfigHome home;
    std::array<std::unique_ptr<QProcess>, 2> savers;
    for (auto& saver : savers) {
        saver = std::make_unique<QProcess>();
        saver->start(QStringLiteral(SAVE_LOOP_PATH), {"loop"});
        ASSERT_TRUE(saver->waitForStarted(30000));
    }
    for (auto& saver : savers)
        ASSERT_TRUE(saver->waitForReadyRead(30000)) << "a saver made no first save";
    // A few hundred saves. Each saver counts on from the deaths it found
    // when it started, so the store holds whichever count was saved last:
    // the hundreds are seen while they save, not read back after the kill.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int seen = 0;
    while ((seen = readInFreshProcess().value("Saw2").toInt()) < 300 && std::chrono::steady_clock::now() < deadline) {
    }
    EXPECT_GE(seen, 300) << "the two copies did not save a few hundred times in a minute";
    for (auto& saver : savers) {
        EXPECT_EQ(saver->state(), QProcess::Running) << "a saver gave up: " << saver->readAllStandardError().toStdString();
        ::kill(pid_t(saver->processId()), SIGKILL);
        ASSERT_TRUE(saver->waitForFinished(30000));
    }

    const QMap<QString, QString> saved = readInFreshProcess();
    ASSERT_EQ(saved.keys(), SaveKeys);
    const int level = saved["Saw1"].toInt(), deaths = saved["Saw2"].toInt();
    EXPECT_EQ(saved["Saw3"].toInt(), level + deaths);
    EXPECT_EQ(saved["Saw4"].toInt(), deaths % level);

    struct stat lock {};
    if (::lstat(QFile::encodeName(lockOf(home)).constData(), &lock) == 0) {
        EXPECT_EQ(lock.st_size, 0) << "the lock file holds something";
        EXPECT_EQ(lock.st_mode & 07777, 0600u) << "the lock file is open to others";
    }
    gameStore().writeAll(SaveSection, saveSet(3, 1));
    EXPECT_FALSE(QFileInfo::exists(lockOf(home))) << "the next save left the lock file";
}

} // namespace
} // namespace zw::test
