#include "platform/store/StoreLock.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

// A save holds the lock for milliseconds.
constexpr auto LongestWait = std::chrono::seconds(2);
constexpr auto PollEvery = std::chrono::milliseconds(5);

} // namespace

StoreLock::StoreLock(const QString& storePath) : path_(QFile::encodeName(storePath + QStringLiteral(".lock")))
{
    const auto deadline = std::chrono::steady_clock::now() + LongestWait;
    while (tryOnce() == Attempt::Busy && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(PollEvery);
}

StoreLock::~StoreLock()
{
    if (fd_ < 0)
        return;
    // Removed while still locked: a save waiting on this file finds it gone
    // once it gets the lock, and makes a new one.
    if (isOurs(fd_))
        ::unlink(path_.constData());
    ::close(fd_);
}

StoreLock::Attempt StoreLock::tryOnce()
{
    struct stat there {};
    if (::lstat(path_.constData(), &there) == 0 && !S_ISREG(there.st_mode))
        return Attempt::Impossible;
    // Read-only is enough for flock; nothing is ever written in the file.
    const int fd = ::open(path_.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0)
        return Attempt::Impossible;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return Attempt::Impossible;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK || error == EINTR ? Attempt::Busy : Attempt::Impossible;
    }
    // The holder before may have removed the file between this open and this
    // lock: a lock on a file that is no longer the lock file holds nothing.
    if (!isOurs(fd)) {
        ::close(fd);
        return Attempt::Busy;
    }
    fd_ = fd;
    return Attempt::Held;
}

// The lock file's path still names the file this descriptor holds.
bool StoreLock::isOurs(int fd) const
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path_.constData(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

} // namespace zw::platform
