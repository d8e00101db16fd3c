// Who may read and own the store: a first save is private, a save keeps the
// store's permissions, owner and group, a store its owner made read-only is
// never replaced, and no other user can read a private store's bytes at any
// moment of a save.

#include "GameStore.h"
#include "SaveSet.h"
#include "base/RuntimeError.h"

#include <QFile>

#include <atomic>
#include <chrono>
#include <cstring>
#include <iostream>
#include <new>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zw::test {
namespace {

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

struct stat statOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info;
}

class Umask {
public:
    explicit Umask(mode_t mask) : previous_(::umask(mask)) {}
    ~Umask() { ::umask(previous_); }

private:
    mode_t previous_;
};

TEST(StoreAccess, AFirstSaveIsThePlayersAlone)
{
    for (const mode_t mask : {mode_t(022), mode_t(002), mode_t(077), mode_t(0), mode_t(0277)}) {
        ConfigHome home;
        const Umask umask(mask);
        gameStore().writeAll(SaveSection, saveSet(2, 0));
        EXPECT_EQ(statOf(home.storeFile()).st_mode & 07777, mode_t(0600)) << "umask " << std::oct << mask;
    }
}

TEST(StoreAccess, ASaveKeepsTheStoresPermissions)
{
    for (const mode_t mode : {mode_t(0600), mode_t(0644), mode_t(0640), mode_t(0660), mode_t(0666)}) {
        ConfigHome home;
        writeBytes(home.storeFile(), "[Mine]\nk=v\n");
        ASSERT_EQ(::chmod(QFile::encodeName(home.storeFile()).constData(), mode), 0);
        gameStore().writeAll(SaveSection, saveSet(2, 1));
        EXPECT_EQ(statOf(home.storeFile()).st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(fileBytes(home.storeFile()), "[Mine]\nk=v\n\n[SaveGame]\nSaw1=2\nSaw2=1\nSaw3=3\nSaw4=1\n");
    }
}

// A store its owner may not write is one the player wants kept as it is:
// neither the owner nor root replaces it, and the save says so.
TEST(StoreAccess, AStoreItsOwnerMayNotWriteIsKept)
{
    for (const mode_t mode : {mode_t(0400), mode_t(0444), mode_t(0040)}) {
        ConfigHome home;
        const QByteArray kept = "[SaveGame]\nSaw1=9\nSaw2=0\nSaw3=9\nSaw4=0\n";
        writeBytes(home.storeFile(), kept);
        ASSERT_EQ(::chmod(QFile::encodeName(home.storeFile()).constData(), mode), 0);
        const ino_t before = statOf(home.storeFile()).st_ino;
        try {
            gameStore().writeAll(SaveSection, saveSet(2, 1));
            ADD_FAILURE() << "a store of mode " << std::oct << mode << " was replaced";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), 75);
        }
        EXPECT_EQ(statOf(home.storeFile()).st_ino, before);
        ::chmod(QFile::encodeName(home.storeFile()).constData(), 0600);
        EXPECT_EQ(fileBytes(home.storeFile()), kept);
    }
}

// Root saving into a player's store (a game started with sudo, say) leaves
// it the player's: owner, group and permissions stay, and the player's own
// next save still goes through.
TEST(StoreAccess, RootKeepsThePlayersOwnerAndGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can save into another user's store";
    ConfigHome home;
    writeBytes(home.storeFile(), "[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n");
    ASSERT_EQ(::chown(QFile::encodeName(home.storeFile()).constData(), Nobody, NoGroup), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(home.storeFile()).constData(), 0640), 0);
    ASSERT_EQ(::chown(QFile::encodeName(home.path()).constData(), Nobody, NoGroup), 0);

    gameStore().writeAll(SaveSection, saveSet(4, 2));
    const struct stat after = statOf(home.storeFile());
    EXPECT_EQ(after.st_uid, Nobody);
    EXPECT_EQ(after.st_gid, NoGroup);
    EXPECT_EQ(after.st_mode & 07777, mode_t(0640));
    EXPECT_EQ(fileBytes(home.storeFile()), "[SaveGame]\nSaw1=4\nSaw2=2\nSaw3=6\nSaw4=2\n");
    {
        AsPlayer player;
        EXPECT_NO_THROW(gameStore().writeAll(SaveSection, saveSet(5, 2)));
    }
    EXPECT_EQ(fileBytes(home.storeFile()), "[SaveGame]\nSaw1=5\nSaw2=2\nSaw3=7\nSaw4=2\n");
    EXPECT_EQ(statOf(home.storeFile()).st_uid, Nobody);
}

// What the watcher reports when it stops.
struct Watch {
    long rounds = 0;     // looks through the folder
    long opened = 0;     // files it could open
    long sawSecret = 0;  // of them, files that held the store's bytes
};

// Another user looks through the store's folder as fast as it can while
// the player saves, opening every file it may: it runs as "nobody" in a
// child of this process, with nothing but system calls, until told to stop.
// `looked` counts its finished looks, in memory it shares with the player.
[[noreturn]] void watch(const char* folder, const char* secret, int stopFd, int reportFd, std::atomic<long>* looked)
{
    if (::setgroups(0, nullptr) != 0 || ::setresgid(NoGroup, NoGroup, NoGroup) != 0
        || ::setresuid(Nobody, Nobody, Nobody) != 0)
        ::_exit(3);
    Watch seen;
    char entries[8192];
    char bytes[4096];
    const std::size_t secretLength = std::strlen(secret);
    pollfd stop{stopFd, POLLIN, 0};
    while (::poll(&stop, 1, 0) == 0) {
        ++seen.rounds;
        const int dir = ::open(folder, O_RDONLY | O_DIRECTORY);
        if (dir < 0)
            continue;
        for (;;) {
            const long got = ::syscall(SYS_getdents64, dir, entries, sizeof entries);
            if (got <= 0)
                break;
            for (long at = 0; at < got;) {
                struct Entry {
                    ino64_t inode;
                    off64_t next;
                    unsigned short length;
                    unsigned char type;
                    char name[1];
                };
                const auto* entry = reinterpret_cast<const Entry*>(entries + at);
                at += entry->length;
                const int fd = ::openat(dir, entry->name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
                if (fd < 0)
                    continue;
                ++seen.opened;
                const ssize_t n = ::read(fd, bytes, sizeof bytes);
                if (n > 0 && ::memmem(bytes, std::size_t(n), secret, secretLength))
                    ++seen.sawSecret;
                ::close(fd);
            }
        }
        ::close(dir);
        looked->fetch_add(1);
    }
    ::write(reportFd, &seen, sizeof seen);
    ::_exit(0);
}

TEST(StoreAccess, AnotherUserNeverSeesAPrivateStoresBytes)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a watcher of another user needs root to start it";
    ConfigHome home; // a folder anyone may look into
    const QByteArray secret = "my-diary-entry-7f3a";
    writeBytes(home.storeFile(), "[Diary]\nentry=" + secret + "\n");
    ASSERT_EQ(::chmod(QFile::encodeName(home.storeFile()).constData(), 0600), 0);
    // Something the watcher may open, so that its opening is seen to work.
    writeBytes(home.path() + QStringLiteral("/readme.txt"), "open to all");
    ASSERT_EQ(::chmod(QFile::encodeName(home.path() + QStringLiteral("/readme.txt")).constData(), 0644), 0);

    // The watcher's count of finished looks, shared across the fork.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* looked = new (shared) std::atomic<long>(0);
    static_assert(std::atomic<long>::is_always_lock_free, "shared between processes");
    // Waits until the watcher has finished a look after `since` looks; a
    // watcher that hangs or died is let go after a generous while.
    const auto lookedPast = [looked](long since) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (looked->load() <= since && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1)); // asks again
        return looked->load() > since;
    };

    int stop[2], report[2];
    ASSERT_EQ(::pipe(stop), 0);
    ASSERT_EQ(::pipe(report), 0);
    const QByteArray folder = QFile::encodeName(home.path());
    const pid_t watcher = ::fork();
    ASSERT_GE(watcher, 0);
    if (watcher == 0)
        watch(folder.constData(), secret.constData(), stop[0], report[1], looked);
    ::close(report[1]);

    // Every save starts once the watcher is looking and is followed by at
    // least one whole look of its own, while the watcher never stops.
    // (A watcher that never looked could not become another user: said below.)
    const bool looking = lookedPast(0);
    for (int death = 1; death <= 20; ++death) {
        const long before = looked->load();
        gameStore().writeAll(SaveSection, saveSet(3, death));
        if (looking) {
            EXPECT_TRUE(lookedPast(before)) << "the watcher stopped looking at save " << death;
        }
    }
    ::write(stop[1], "x", 1);
    Watch seen;
    EXPECT_EQ(::read(report[0], &seen, sizeof seen), ssize_t(sizeof seen));
    int status = 0;
    ::waitpid(watcher, &status, 0);
    ::close(stop[0]);
    ::close(stop[1]);
    ::close(report[0]);
    ::munmap(shared, sizeof(std::atomic<long>));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the watcher could not become another user";

    EXPECT_EQ(seen.sawSecret, 0) << "another user read the store's bytes";
    EXPECT_GE(seen.opened, seen.rounds) << "the watcher could not even open the file open to all";
    EXPECT_GT(seen.rounds, 20) << "the watcher hardly looked";
    EXPECT_TRUE(fileBytes(home.storeFile()).contains(secret));
    EXPECT_EQ(statOf(home.storeFile()).st_mode & 07777, mode_t(0600));
    std::cout << "watcher: " << seen.rounds << " looks, " << seen.opened << " files opened\n";
}

} // namespace
} // namespace zw::test
