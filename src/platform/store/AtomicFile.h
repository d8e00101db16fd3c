#pragma once
// The store's file on disk. Only an ordinary file of a sane size is ever
// read, and it is replaced whole by one rename, so a crash leaves the old
// file or the new one. The new file has the store's owner and permissions
// from its first byte on, so a private store is never readable by anyone
// else for a moment, and a save never hands the file to another user.
// Whatever else stands at the store's path (a folder, a device, a pipe, a
// socket) is never opened for reading, never blocks the game and is left
// exactly as it was.

#include "base/FileLimits.h"
#include "platform/store/ReplaceFile.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zw::platform {

// The largest store read. A player's notes beside the game's lines make a
// store of kilobytes; a file larger than this is never read whole, and
// never replaced or truncated either.
inline constexpr qint64 LargestStore = LargestDataFile;

struct StoreFile {
    enum State {
        Missing,     // nothing there yet: a save creates it
        Ordinary,    // an ordinary file, read whole into bytes
        TooLarge,    // an ordinary file over LargestStore: not read, not replaced
        NotOrdinary, // a folder, device, pipe or socket: never read nor replaced
        Unreadable,  // there, but reading it failed (permissions, an I/O error, a link loop)
    };

    State state = Missing;
    QByteArray bytes;  // the whole file when Ordinary
    QString target;    // what a save replaces: the store's path with its links followed
    mode_t mode = 0;   // permissions of the file found
    uid_t owner = 0;   // and its owner and group, both kept by a save
    gid_t group = 0;
};

// Looks at the store at path and reads it if it is an ordinary file of at
// most LargestStore bytes, never waiting on anything that is not one.
StoreFile readStoreFile(const QString& path);

// Puts bytes in place of what readStoreFile found (Missing or Ordinary
// only), with the old file's owner, group and permissions, or 0600 for a
// first save. A file whose owner may not write
// it is one the player wants kept as it is, and is not replaced. False on
// any failure; no new file is left behind.
bool replaceStoreFile(const StoreFile& found, const QByteArray& bytes);

// Removes the new files of saves that were cut short before their rename:
// ordinary files of this player's beside path, named as isLeftoverName says
// and untouched for a minute (a save writes its file in milliseconds),
// nothing else. Only to be called while holding the store's lock.
void removeLeftovers(const QString& path);

} // namespace zw::platform
