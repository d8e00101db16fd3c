#include "platform/store/StoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
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

// A new file beside target named target, ".saving-" and six random letters,
// created afresh (never an existing file, never through a link) with the
// permissions the player's umask allows.
int createBeside(const QString& target, QByteArray& name)
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = encoded(target) + SavingMark;
        for (int i = 0; i < 6; ++i)
            name += Letters[QRandomGenerator::global()->bounded(52)];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

StoreFile readStoreFile(const QString& path)
{
    StoreFile found;
    found.target = followLinks(path);
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
    found.mode = info.st_mode & 07777;
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
    ::close(fd);
    return found;
}

bool replaceStoreFile(const StoreFile& found, const QByteArray& bytes)
{
    if (!found.mayBeReplaced())
        return false;
    // A store the player made read-only is one they want kept as it is,
    // though the folder would let a new file take its place.
    if (found.state != StoreFile::Missing
        && ::faccessat(AT_FDCWD, encoded(found.target).constData(), W_OK, AT_EACCESS) != 0)
        return false;

    QByteArray fresh;
    const int fd = createBeside(found.target, fresh);
    if (fd < 0)
        return false;
    bool written = writeWhole(fd, bytes);
    if (written && found.state != StoreFile::Missing)
        written = ::fchmod(fd, found.mode) == 0;
    // On disk before the rename, or a crash could leave the new name on an empty file.
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;

    // Only an ordinary file, or nothing, is ever replaced: whatever took the
    // old file's place since it was read stays as it is.
    const QByteArray target = encoded(found.target);
    struct stat now {};
    const bool replaceable = ::lstat(target.constData(), &now) == 0 ? S_ISREG(now.st_mode) : errno == ENOENT;

    if (written && replaceable && ::rename(fresh.constData(), target.constData()) == 0)
        return true;
    ::unlink(fresh.constData());
    return false;
}

bool isLeftoverName(const QString& fileName, const QString& storeName)
{
    const QString prefix = storeName + QLatin1String(SavingMark);
    if (fileName.size() != prefix.size() + 6 || !fileName.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < fileName.size(); ++i) {
        const char16_t c = fileName.at(i).unicode();
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
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
