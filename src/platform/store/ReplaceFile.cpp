#include "platform/store/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::platform {

namespace {

QByteArray onDisk(const QString& path) { return QFile::encodeName(path); }

// Capital consonants: six of them spell no word a player would name a file by.
constexpr char NameLetters[] = "BCDFGHJKLMNPQRSTVWXZ";
constexpr int NameLength = 6;

int writeWhole(int fd, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return errno;
        if (put == 0)
            return EIO;
        done += put;
    }
    return 0;
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
// that cannot be kept fails the write; a group that cannot be kept loses the
// group's permissions, so the new file is never open to more than the old.
int takeOverAccess(int fd, const Replacement& r)
{
    struct stat made {};
    if (r.existing && ::fstat(fd, &made) != 0)
        return errno;
    mode_t mode = r.mode;
    if (r.existing && (made.st_uid != r.owner || made.st_gid != r.group)) {
        if (::fchown(fd, r.owner, r.group) != 0) {
            if (made.st_uid != r.owner)
                return errno;
            mode &= ~mode_t(S_IRWXG);
        }
    }
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

// The new file, written and synced beside the target, and its name there.
// Where the file system allows it, the file is made without a name
// (O_TMPFILE) and named only once it is whole, so that a write killed
// midway leaves nothing behind; elsewhere it is named from the start.
class NewFile {
public:
    ~NewFile() { discard(); }

    int write(const Replacement& r, const QByteArray& bytes)
    {
        const QByteArray target = onDisk(r.target);
        const QByteArray folder = onDisk(QFileInfo(r.target).absolutePath());
        int error = 0;
        for (const bool unnamed : {true, false}) {
            const int fd = unnamed ? ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600)
                                   : createNamed(target);
            if (fd < 0) {
                error = errno;
                continue;
            }
            error = takeOverAccess(fd, r);
            if (!error)
                error = writeWhole(fd, bytes);
            if (!error && ::fsync(fd) != 0)
                error = errno;
            if (!error && unnamed)
                error = giveName(fd, target);
            if (::close(fd) != 0 && !error)
                error = errno;
            if (!error)
                return 0;
            discard();
        }
        return error;
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

    int giveName(int fd, const QByteArray& target)
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = savingName(target);
            // By the descriptor where the process may, else through /proc.
            if (::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = name;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    void discard()
    {
        if (!name_.isEmpty())
            ::unlink(name_.constData());
        name_.clear();
    }

    QByteArray name_;
};

// The rename itself on disk, so that a power cut after the write keeps it.
int syncFolder(const QString& path)
{
    const int fd = ::open(onDisk(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// The process's umask, read without setting it: set even for a moment, it
// would hand a file that another thread makes meanwhile every permission.
// Only where the kernel does not say is it set and put back.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
            }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

QString fileBehindLinks(const QString& path)
{
    char* real = ::realpath(onDisk(path).constData(), nullptr);
    if (real) {
        const QString target = QFile::decodeName(real);
        std::free(real);
        return target;
    }
    const QFileInfo link(path);
    return link.isSymLink() ? link.symLinkTarget() : path;
}

int lookBeforeReplacing(const QString& path, Replacement& out)
{
    out = Replacement{};
    out.target = fileBehindLinks(path);
    struct stat info {};
    if (::stat(onDisk(out.target).constData(), &info) != 0) {
        if (errno != ENOENT)
            return errno;
        out.mode = 0666 & ~currentUmask();
        return 0;
    }
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return ENODEV;
    out.existing = true;
    out.mode = info.st_mode & 07777;
    out.owner = info.st_uid;
    out.group = info.st_gid;
    return 0;
}

Replaced replaceFile(const Replacement& r, const QByteArray& bytes, const std::function<int(const QString& newFile)>& checkWritten)
{
    const QByteArray target = onDisk(r.target);
    if (r.existing && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return {errno};

    NewFile file;
    if (const int error = file.write(r, bytes))
        return {error};
    if (checkWritten)
        if (const int error = checkWritten(QFile::decodeName(file.name())))
            return {error};

    // Only an ordinary file, or nothing, is ever replaced: whatever took the
    // old file's place since it was looked at stays as it is.
    struct stat now {};
    const bool there = ::lstat(target.constData(), &now) == 0;
    if (!there && errno != ENOENT)
        return {errno};
    if (there && !S_ISREG(now.st_mode))
        return {S_ISDIR(now.st_mode) ? EISDIR : ENODEV};
    if (::rename(file.name().constData(), target.constData()) != 0)
        return {errno};
    file.keep();
    return {syncFolder(r.target), true};
}

bool isLeftoverName(const QString& fileName, const QString& targetName)
{
    const QString prefix = targetName + QLatin1String(SavingMark);
    if (fileName.size() != prefix.size() + NameLength || !fileName.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < fileName.size(); ++i) {
        const char16_t c = fileName.at(i).unicode();
        if (c > 0x7f || !std::strchr(NameLetters, char(c)) || c == 0)
            return false;
    }
    return true;
}

} // namespace zw::platform
