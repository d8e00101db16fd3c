#include "platform/store/AtomicFile.h"

#include "base/RegularFile.h"

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

} // namespace

StoreFile readStoreFile(const QString& path)
{
    StoreFile found;
    found.target = fileBehindLinks(path);
    const QByteArray target = encoded(found.target);

    // The open descriptor is what counts: no waiting on a pipe, no new link
    // followed, nothing read past LargestStore.
    RegularFile file = readRegularFile(target, LargestStore, FollowLinks::No);
    switch (file.state) {
    case RegularFile::Read: found.state = StoreFile::Ordinary; break;
    case RegularFile::Missing: found.state = StoreFile::Missing; break;
    case RegularFile::NotRegular: found.state = StoreFile::NotOrdinary; break;
    case RegularFile::TooLarge: found.state = StoreFile::TooLarge; break;
    case RegularFile::Unreadable: found.state = StoreFile::Unreadable; break;
    }
    found.bytes = std::move(file.bytes);
    found.mode = file.info.st_mode & 07777;
    found.owner = file.info.st_uid;
    found.group = file.info.st_gid;
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
