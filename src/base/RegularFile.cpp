#include "base/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zw {

namespace {

RegularFile failed(RegularFile::State state, int error = 0)
{
    RegularFile file;
    file.state = state;
    file.error = error;
    return file;
}

RegularFile::State afterFailure(int error)
{
    return error == ENOENT || error == ENOTDIR ? RegularFile::Missing : RegularFile::Unreadable;
}

// Reads to the end, but never more than limit + 1 bytes: one byte past the
// limit tells a file that grew since its size was looked at.
bool readAtMost(int fd, qint64 limit, qint64 sizeNow, QByteArray& bytes)
{
    bytes.resize(qMin(sizeNow, limit) + 1);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (bytes.size() > limit)
                break;
            bytes.resize(limit + 1);
        }
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        total += got;
    }
    bytes.resize(total);
    return true;
}

} // namespace

RegularFile readRegularFile(const QByteArray& path, qint64 limit, FollowLinks links)
{
    // Looked at before anything opens it: opening a device can be an action
    // of its own.
    struct stat before {};
    const int looked = links == FollowLinks::Yes ? ::stat(path.constData(), &before) : ::lstat(path.constData(), &before);
    if (looked != 0)
        return failed(afterFailure(errno), errno);
    if (S_ISLNK(before.st_mode))
        return failed(RegularFile::Unreadable, ELOOP);
    if (!S_ISREG(before.st_mode))
        return failed(RegularFile::NotRegular);
    if (before.st_size > limit)
        return failed(RegularFile::TooLarge);

    // Something else may have taken its place since: only what the open
    // descriptor is counts.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (links == FollowLinks::No ? O_NOFOLLOW : 0);
    const int fd = ::open(path.constData(), flags);
    if (fd < 0)
        return failed(afterFailure(errno), errno);
    RegularFile file;
    if (::fstat(fd, &file.info) != 0) {
        file.state = RegularFile::Unreadable;
        file.error = errno;
    } else if (!S_ISREG(file.info.st_mode)) {
        file.state = RegularFile::NotRegular;
    } else if (file.info.st_size > limit) {
        file.state = RegularFile::TooLarge;
    } else if (!readAtMost(fd, limit, file.info.st_size, file.bytes)) {
        file.state = RegularFile::Unreadable;
        file.error = errno;
        file.bytes = QByteArray();
    } else if (file.bytes.size() > limit) {
        file.state = RegularFile::TooLarge;
        file.bytes = QByteArray();
    } else {
        file.state = RegularFile::Read;
    }
    ::close(fd);
    return file;
}

} // namespace zw
