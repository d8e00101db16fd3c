#include "platform/store/AtomicFile.h"

#include "base/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// Capital consonants: six of them spell no word a player would name a file by.
constexpr char NameLetters[] = "BCDFGHJKLMNPQRSTVWXZ";
constexpr int NameLength = 6;

// Where a save writes: the file a link leads to, or, for a link that leads
// nowhere yet, the file it names.
QString followLinks(const QString& path)
{
    char* real = ::realpath(encoded(path).constData(), nullptr);
    if (real) {
        const QString target = QFile::decodeName(real);
        std::free(real);
        return target;
    }
    const QFileInfo link(path);
    return link.isSymLink() ? link.symLinkTarget() : path;
}

bool writeWhole(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

QByteArray savingName(const QByteArray& target)
{
    QByteArray name = target + SavingMark;
    for (int i = 0; i < NameLength; ++i)
        name += NameLetters[QRandomGenerator::global()->bounded(int(sizeof NameLetters - 1))];
    return name;
}

// Gives the new file the old one's owner and permissions before it holds a
// byte. It was made 0600, so until now nobody else could open it. An owner
// that cannot be kept fails the save; a group that cannot be kept loses the
// group's permissions, so the new file is never open to more than the old.
bool takeOverAccess(int fd, const StoreFile& found)
{
    // A first save: the player's alone. A umask can only take from that the
    // player's own right to read or write, which would stop every later save.
    if (found.state != StoreFile::Ordinary)
        return ::fchmod(fd, 0600) == 0;
    struct stat made {};
    if (::fstat(fd, &made) != 0)
        return false;
    mode_t mode = found.mode;
    if (made.st_uid != found.owner || made.st_gid != found.group) {
        if (::fchown(fd, found.owner, found.group) != 0) {
            if (made.st_uid != found.owner)
                return false;
            mode &= ~mode_t(S_IRWXG);
        }
    }
    return ::fchmod(fd, mode) == 0;
}

// The new file, written and synced beside the store, and its name there.
// Where the file system allows it, the file is made without a name
// (O_TMPFILE) and named only once it is whole, so that a save killed while
// writing leaves nothing behind; elsewhere it is named from the start.
class NewFile {
public:
    ~NewFile() { discard(); }

    bool write(const StoreFile& found, const QByteArray& bytes)
    {
        const QByteArray target = encoded(found.target);
        const QByteArray folder = encoded(QFileInfo(found.target).absolutePath());
        for (const bool unnamed : {true, false}) {
            const int fd = unnamed ? ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)
                                   : createNamed(target);
            if (fd < 0)
                continue;
            bool done = takeOverAccess(fd, found) && writeWhole(fd, bytes) && ::fsync(fd) == 0;
            if (done && unnamed)
                done = giveName(fd, target);
            done = ::close(fd) == 0 && done;
            if (done)
                return true;
            discard();
        }
        return false;
    }

    const QByteArray& name() const { return name_; }
    void keep() { name_.clear(); }

private:
    int createNamed(const QByteArray& target)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = savingName(target);
            const int fd = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0)
                return fd;
            name_.clear();
            if (errno != EEXIST)
                return -1;
        }
        return -1;
    }

    bool giveName(int fd, const QByteArray& target)
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = savingName(target);
            // By the descriptor where the process may, else through /proc.
            if (::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    void discard()
    {
        if (!name_.isEmpty())
            ::unlink(name_.constData());
        name_.clear();
    }

    QByteArray name_;
};

// The rename itself on disk, so that a power cut after the save keeps it.
void syncFolder(const QString& path)
{
    const int fd = ::open(encoded(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

StoreFile readStoreFile(const QString& path)
{
    StoreFile found;
    found.target = followLinks(path);
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

    NewFile file;
    if (!file.write(found, bytes))
        return false;

    // Only an ordinary file, or nothing, is ever replaced: whatever took the
    // old file's place since it was read stays as it is.
    struct stat now {};
    const bool replaceable = ::lstat(target.constData(), &now) == 0 ? S_ISREG(now.st_mode) : errno == ENOENT;
    if (!replaceable || ::rename(file.name().constData(), target.constData()) != 0)
        return false;
    file.keep();
    syncFolder(found.target);
    return true;
}

bool isLeftoverName(const QString& fileName, const QString& storeName)
{
    const QString prefix = storeName + QLatin1String(SavingMark);
    if (fileName.size() != prefix.size() + NameLength || !fileName.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < fileName.size(); ++i) {
        const char16_t c = fileName.at(i).unicode();
        if (c > 0x7f || !std::strchr(NameLetters, char(c)) || c == 0)
            return false;
    }
    return true;
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
