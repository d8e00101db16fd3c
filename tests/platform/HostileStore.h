#pragma once
// What a hostile or careless desktop can put where the settings store
// belongs: a link to a device node, a pipe, a socket, a folder. Everything
// is made inside the test's own folders (the device node too, a private one
// in a scratch folder), and the state of each thing can be compared before
// and after the game had its go at it.

#include "ConfigHome.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <ostream>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace zw::test {

inline QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// What lstat says about a path, and where a link leads: equal before and
// after means the thing was neither replaced, moved, retyped nor rewired.
struct NodeState {
    bool exists = false;
    ino_t inode = 0;
    mode_t mode = 0;
    dev_t device = 0;     // the device node's own number, for a device
    off_t size = 0;
    QByteArray linkText;

    bool operator==(const NodeState&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const NodeState& node)
{
    if (!node.exists)
        return out << "(nothing)";
    return out << "inode " << node.inode << " mode " << std::oct << node.mode << std::dec << " rdev "
               << node.device << " size " << node.size << " link [" << node.linkText.toStdString() << "]";
}

inline NodeState nodeState(const QString& path)
{
    struct stat info {};
    if (::lstat(encoded(path).constData(), &info) != 0)
        return {};
    NodeState node{true, info.st_ino, info.st_mode, info.st_rdev, S_ISREG(info.st_mode) ? info.st_size : 0, {}};
    if (S_ISLNK(info.st_mode)) {
        char target[4096];
        const ssize_t length = ::readlink(encoded(path).constData(), target, sizeof target);
        node.linkText = QByteArray(target, length > 0 ? int(length) : 0);
    }
    return node;
}

// Where the store's path will lead, and the thing at its end.
struct HostilePlace {
    QString thing;      // the device, pipe, socket or folder itself
    QString skipReason; // set when this machine cannot make it
};

struct HostileKind {
    const char* name;
    HostilePlace (*make)(const ConfigHome& home, const QString& scratch);
};

inline std::ostream& operator<<(std::ostream& out, const HostileKind& kind) { return out << kind.name; }

// A test run once for each hostile kind: a config folder of its own, a
// scratch folder for what the store's path leads to, and the hostile thing
// already in place when the test body starts, or the test skipped where this
// machine cannot make it.
class HostileStoreTest : public ::testing::TestWithParam<HostileKind> {
protected:
    void SetUp() override
    {
        place = GetParam().make(home, scratch.path());
        if (!place.skipReason.isEmpty())
            GTEST_SKIP() << place.skipReason.toStdString();
    }

    ConfigHome home;
    QTemporaryDir scratch;
    HostilePlace place;
};

inline bool linkStoreTo(const ConfigHome& home, const QString& target)
{
    return ::symlink(encoded(target).constData(), encoded(home.storeFile()).constData()) == 0;
}

// A character device of the same kind as /dev/null, but a node of the
// test's own in a scratch folder: the one the game must leave alone.
inline HostilePlace linkToDevice(const ConfigHome& home, const QString& scratch)
{
    const QString node = scratch + QStringLiteral("/node");
    if (::mknod(encoded(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        return {node, ::geteuid() != 0 ? QStringLiteral("needs root to make a device node")
                                       : QStringLiteral("this machine refuses root a device node (mknod: %1)")
                                             .arg(QString::fromLocal8Bit(std::strerror(errno)))};
    EXPECT_TRUE(linkStoreTo(home, node));
    return {node, {}};
}

inline HostilePlace pipeInPlace(const ConfigHome& home, const QString&)
{
    EXPECT_EQ(::mkfifo(encoded(home.storeFile()).constData(), 0666), 0);
    return {home.storeFile(), {}};
}

inline HostilePlace linkToPipe(const ConfigHome& home, const QString& scratch)
{
    const QString pipe = scratch + QStringLiteral("/pipe");
    EXPECT_EQ(::mkfifo(encoded(pipe).constData(), 0666), 0);
    EXPECT_TRUE(linkStoreTo(home, pipe));
    return {pipe, {}};
}

inline HostilePlace socketInPlace(const ConfigHome& home, const QString&)
{
    const QByteArray path = encoded(home.storeFile());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return {home.storeFile(), QStringLiteral("the test folder's path is too long for a socket")};
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd); // the socket's node stays
    return {home.storeFile(), {}};
}

inline HostilePlace folderInPlace(const ConfigHome& home, const QString&)
{
    EXPECT_TRUE(QDir().mkpath(home.storeFile()));
    return {home.storeFile(), {}};
}

inline HostilePlace linkToFolder(const ConfigHome& home, const QString& scratch)
{
    EXPECT_TRUE(linkStoreTo(home, scratch));
    return {scratch, {}};
}

inline const HostileKind HostileKinds[] = {
    {"LinkToADevice", linkToDevice}, {"Pipe", pipeInPlace},     {"LinkToAPipe", linkToPipe},
    {"Socket", socketInPlace},       {"Folder", folderInPlace}, {"LinkToAFolder", linkToFolder},
};

// Runs work on a thread of its own with a generous limit. Should it still
// be running then, the test fails, and from then on a writer opened and
// closed on the pipe (if pipe names one) again and again ends every open or
// read that waits on it, so that the test ends rather than hangs.
template <typename Work>
void finishesWithoutWaiting(Work work, const QString& pipe = {})
{
    std::future<void> done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
        done.get();
        return;
    }
    ADD_FAILURE() << "still waiting after 20 s: blocked on what stands at the store's path";
    while (!pipe.isEmpty() && done.wait_for(std::chrono::milliseconds(50)) == std::future_status::timeout) {
        const int writer = ::open(encoded(pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    done.get();
}

// Bytes this process has read through read() and its kin so far.
inline qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace zw::test
