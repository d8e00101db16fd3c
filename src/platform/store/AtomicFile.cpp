#include "platform/store/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

StoreFile::State stateAfterFailure(int error)
{
    return error == ENOENT || error == ENOTDIR ? StoreFile::Missing : StoreFile::Unreadable;
}

// Reads the whole of an open ordinary file, stopping one byte past
// LargestStore: a file that grew past it since its size was looked at is
// still never read whole.
StoreFile::State readBounded(int fd, QByteArray& bytes)
{
    bytes.resize(LargestStore + 1);
    qint64 total = 0;
    while (total < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            bytes.clear();
            return StoreFile::Unreadable;
        }
        if (got == 0)
            break;
        total += got;
    }
    if (total > LargestStore) {
        bytes.clear();
        return StoreFile::TooLarge;
    }
    bytes.resize(total);
    return StoreFile::Ordinary;
}

} // namespace

StoreFile readStoreFile(const QString& path)
{
    StoreFile found;
    found.target = fileBehindLinks(path);
    const QByteArray target = encoded(found.target);

    // Looked at before anything opens it: opening a device can be an action
    // of its own, and opening a pipe for reading waits for a writer.
    struct stat info {};
    if (::stat(target.constData(), &info) != 0) {
        found.state = stateAfterFailure(errno);
        return found;
    }
    if (!S_ISREG(info.st_mode)) {
        found.state = StoreFile::NotOrdinary;
        return found;
    }
    if (info.st_size > LargestStore) {
        found.state = StoreFile::TooLarge;
        return found;
    }

    // Something else may have taken the file's place since: open without
    // waiting and without following a new link, and believe only what the
    // open descriptor is.
    const int fd = ::open(target.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        found.state = stateAfterFailure(errno);
        return found;
    }
    if (::fstat(fd, &info) != 0)
        found.state = StoreFile::Unreadable;
    else if (!S_ISREG(info.st_mode))
        found.state = StoreFile::NotOrdinary;
    else if (info.st_size > LargestStore)
        found.state = StoreFile::TooLarge;
    else
        found.state = readBounded(fd, found.bytes);
    found.mode = info.st_mode & 07777;
    found.owner = info.st_uid;
    found.group = info.st_gid;
    ::close(fd);
    return found;
}

bool replaceStoreFile(const StoreFile& found, const QByteArray& bytes)
{
    if (found.state != StoreFile::Missing && found.state != StoreFile::Ordinary)
        return false;
    // A store its owner may not write (root may write anything) is one the
    // player wants kept as it is, though the folder would let a new file in.
    const QByteArray target = encoded(found.target);
    if (found.state == StoreFile::Ordinary
        && (!(found.mode & S_IWUSR) || ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0))
        return false;

    // A first save is the player's alone: 0600. A umask could only take from
    // that the player's own right to read or write, which would stop every
    // later save.
    Replacement r{found.target, found.state == StoreFile::Ordinary, mode_t(0600), found.owner, found.group};
    if (r.existing)
        r.mode = found.mode;
    return replaceFile(r, bytes).inPlace;
}

void removeLeftovers(const QString& path)
{
    const QFileInfo store(path);
    const QByteArray prefix = encoded(store.fileName()) + SavingMark;
    DIR* folder = ::opendir(encoded(store.absolutePath()).constData());
    if (!folder)
        return;
    const int folderFd = ::dirfd(folder);
    const time_t minuteAgo = ::time(nullptr) - 60;
    // The names alone are read; only a name of a leftover's shape is looked at further.
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strncmp(entry->d_name, prefix.constData(), size_t(prefix.size())) != 0
            || !isLeftoverName(QFile::decodeName(entry->d_name), store.fileName()))
            continue;
        struct stat info {};
        if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid() && info.st_mtime < minuteAgo)
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace zw::platform
