#include "base/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace zw {

namespace {

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

OpenRegularFile::OpenRegularFile(OpenRegularFile&& other) noexcept
    : state(other.state), error(other.error), fd(std::exchange(other.fd, -1)), info(other.info)
{
}

OpenRegularFile& OpenRegularFile::operator=(OpenRegularFile&& other) noexcept
{
    if (this != &other) {
        if (fd >= 0)
            ::close(fd);
        state = other.state;
        error = other.error;
        fd = std::exchange(other.fd, -1);
        info = other.info;
    }
    return *this;
}

OpenRegularFile::~OpenRegularFile()
{
    if (fd >= 0)
        ::close(fd);
}

OpenRegularFile openRegularFile(const QByteArray& path, qint64 limit, FollowLinks links)
{
    OpenRegularFile file;
    auto fail = [&file](RegularFile::State state, int error = 0) {
        file.state = state;
        file.error = error;
        if (file.fd >= 0)
            ::close(file.fd);
        file.fd = -1;
        return std::move(file);
    };
    // Looked at before anything opens it: opening a device can be an action
    // of its own.
    struct stat before {};
    const int looked = links == FollowLinks::Yes ? ::stat(path.constData(), &before) : ::lstat(path.constData(), &before);
    if (looked != 0)
        return fail(afterFailure(errno), errno);
    if (S_ISLNK(before.st_mode))
        return fail(RegularFile::Unreadable, ELOOP);
    if (!S_ISREG(before.st_mode))
        return fail(RegularFile::NotRegular);
    if (before.st_size > limit)
        return fail(RegularFile::TooLarge);

    // Something else may have taken its place since: only what the open
    // descriptor is counts.
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (links == FollowLinks::No ? O_NOFOLLOW : 0);
    file.fd = ::open(path.constData(), flags);
    if (file.fd < 0)
        return fail(afterFailure(errno), errno);
    if (::fstat(file.fd, &file.info) != 0)
        return fail(RegularFile::Unreadable, errno);
    if (!S_ISREG(file.info.st_mode))
        return fail(RegularFile::NotRegular);
    if (file.info.st_size > limit)
        return fail(RegularFile::TooLarge);
    file.state = RegularFile::Read;
    return file;
}

RegularFile readRegularFile(const QByteArray& path, qint64 limit, FollowLinks links)
{
    OpenRegularFile opened = openRegularFile(path, limit, links);
    RegularFile file;
    file.state = opened.state;
    file.error = opened.error;
    file.info = opened.info;
    if (opened.state != RegularFile::Read)
        return file;
    if (!readAtMost(opened.fd, limit, file.info.st_size, file.bytes)) {
        file.state = RegularFile::Unreadable;
        file.error = errno;
        file.bytes = QByteArray();
    } else if (file.bytes.size() > limit) {
        file.state = RegularFile::TooLarge;
        file.bytes = QByteArray();
    }
    return file;
}

} // namespace zw
