#pragma once
// Reading a file a player hands the game (the store, a level picture, the
// tune) without letting it cost more than its own bytes: only a regular file
// is ever read, it is opened without waiting (a pipe put in its place would
// wait for a writer) and, where asked, without following a link, and only
// the open descriptor is believed. At most `limit` bytes are read, whatever
// the file claims or becomes while it is read.

#include <QByteArray>

#include <sys/stat.h>

namespace zw {

struct RegularFile {
    enum State {
        Read,       // bytes holds the whole file
        Missing,    // nothing at the path, or a folder on the way is not one
        NotRegular, // a folder, device, pipe or socket: never read
        TooLarge,   // a regular file over the limit: not read
        Unreadable, // there, but opening or reading it failed (permissions, a link loop, an I/O error)
    };
    State state = Missing;
    int error = 0;       // the errno behind Missing or Unreadable
    QByteArray bytes;    // the whole file when Read
    struct stat info {}; // the open file's, when it was opened
};

enum class FollowLinks { Yes, No };

RegularFile readRegularFile(const QByteArray& path, qint64 limit, FollowLinks links);

// The same checks, handing over the open descriptor instead of the bytes,
// for a file read in pieces (a level pack): state is Read when fd is open on
// a regular file no larger than the limit. The descriptor is closed with
// this; whoever reads from it still reads no more than the limit.
class OpenRegularFile {
public:
    OpenRegularFile() = default;
    OpenRegularFile(OpenRegularFile&& other) noexcept;
    OpenRegularFile& operator=(OpenRegularFile&& other) noexcept;
    OpenRegularFile(const OpenRegularFile&) = delete;
    OpenRegularFile& operator=(const OpenRegularFile&) = delete;
    ~OpenRegularFile();

    RegularFile::State state = RegularFile::Missing;
    int error = 0;       // the errno behind Missing or Unreadable
    int fd = -1;         // open only when state is Read
    struct stat info {}; // the open file's, when it was opened
};

OpenRegularFile openRegularFile(const QByteArray& path, qint64 limit, FollowLinks links);

} // namespace zw
