#pragma once
// Saves of two copies of the game take turns through a lock beside the
// store: an flock on the file "<store>.lock". The kernel lets go of it when
// its holder ends, however it ends, so a lock left by a killed game is free
// for the next save at once, and the file never needs to say who holds it:
// it stays empty and private (0600). The holder removes it before letting
// go, so only a save cut short leaves it, empty, and the next save takes it
// over and removes it. A save that finds the file gone or replaced after it
// got its lock tries again on the new one. Whatever else stands where the
// lock goes (a pipe, a device, a link) is never opened.

#include <QByteArray>
#include <QString>

namespace zw::platform {

class StoreLock {
public:
    // Waits at most two seconds for the lock; see held().
    explicit StoreLock(const QString& storePath);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    // False when another save kept the lock all that time, or the lock file
    // could not be made. A save goes through all the same (its rename keeps
    // it whole) but leaves the folder alone.
    bool held() const { return fd_ >= 0; }

private:
    enum class Attempt { Held, Busy, Impossible };
    Attempt tryOnce();
    bool isOurs(int fd) const;

    QByteArray path_;
    int fd_ = -1;
};

} // namespace zw::platform
