#pragma once
// The settings store's file on disk, handled so that the game only ever
// reads, writes or replaces an ordinary file of a sane size: whatever else
// stands at the store's path (a folder, a device, a pipe, a socket) is never
// opened for reading, never blocks the window and is left exactly as it was.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace zw::platform {

// Every save the game writes is a few dozen bytes; a store larger than this
// is damaged data and is never read whole.
inline constexpr qint64 LargestStore = 64 * 1024;

struct StoreFile {
    enum State {
        Missing,     // nothing there yet: a save creates it
        Ordinary,    // an ordinary file, read whole into bytes
        TooLarge,    // an ordinary file over LargestStore, not read; a save replaces it
        NotOrdinary, // a folder, device, pipe or socket: never read nor replaced
        Unreadable,  // there, but reading it failed (permissions, an I/O error, a link loop)
    };

    State state = Missing;
    QByteArray bytes;  // the whole file when Ordinary
    QString target;    // what a save replaces: the store's path with its links followed
    mode_t mode = 0;   // permissions of the file found, kept by a save that replaces it

    // Nothing yet, or an ordinary file of the game's: what a save may put
    // its new file in place of. Anything else stays exactly as it is.
    bool mayBeReplaced() const { return state != NotOrdinary && state != Unreadable; }
};

// Looks at the store at path and reads it if it is an ordinary file, never
// waiting on anything that is not one.
StoreFile readStoreFile(const QString& path);

// Puts bytes in place of what readStoreFile found, in one rename of a new
// file written beside found.target, so that a crash leaves the old file or
// the new one. Refuses to replace anything that is not an ordinary file by
// then. False on any failure; no new file is left behind.
bool replaceStoreFile(const StoreFile& found, const QByteArray& bytes);

// The name of the new file a save writes before renaming it over the store:
// the store's name, ".saving-" and six letters or digits. No player names a
// copy of their own so; a name like "Zigwalk_Korvel.conf.backup" is theirs.
inline constexpr char SavingMark[] = ".saving-";
bool isLeftoverName(const QString& fileName, const QString& storeName);

// Removes the new files of saves that were cut short before their rename:
// ordinary files of this player's beside path, named as isLeftoverName says
// and untouched for a minute (a save writes its file in milliseconds),
// nothing else. Reads the folder's names once, without looking at each file.
// Only to be called while holding the store's lock.
void removeLeftovers(const QString& path);

} // namespace zw::platform
