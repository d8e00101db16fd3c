#pragma once
// A file replaced whole by one rename: the new content is written to a new
// file beside it, synced, and renamed over the old one only once it is whole,
// so a crash, a kill or a full disk leaves the old file or the new one, never
// a part of either. The store saves this way, and zigwalk-check writes a
// snapped picture this way (its output is often its input).

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <functional>

namespace zw::platform {

// The file a path leads to: its links followed, or for a link that leads
// nowhere yet, the file it names.
QString fileBehindLinks(const QString& path);

// What a replacement replaces, and the access the new file gets.
struct Replacement {
    QString target;        // links already followed
    bool existing = false; // an ordinary file stands there: its mode, owner and group are kept
    mode_t mode = 0;       // the existing file's permissions, or the new file's
    uid_t owner = 0;
    gid_t group = 0;
};

// The replacement of what stands at path now: an ordinary file keeps its
// access, a file made new gets what the umask leaves of 0666. 0, or the
// error: EISDIR for a folder, ENODEV for a device, pipe or socket, which are
// never replaced.
int lookBeforeReplacing(const QString& path, Replacement& out);

struct Replaced {
    int error = 0;        // of the step that failed, 0 if none did
    bool inPlace = false; // the new file has taken the target's name
};

// Writes bytes to a new file in the target's folder with the access given,
// syncs it, renames it over the target, which must still be an ordinary file
// or nothing, and syncs the folder. A target the caller may not write is not
// replaced. On a failure before the rename no new file is left and the
// target is as it was; a failure to sync the folder after it is an error
// with the new file in place.
//
// checkWritten, when given, is shown the new file by its name once it is
// whole and synced, before the rename: a nonzero error from it stops the
// replacement there, the new file removed (zigwalk-check reads a pack back
// as the game will before it takes the pack's name).
Replaced replaceFile(const Replacement& r, const QByteArray& bytes,
                     const std::function<int(const QString& newFile)>& checkWritten = {});

// A new file has no name until just before its rename where the file system
// allows that; elsewhere, and for that moment, it is named after the target,
// ".saving-" and six capital consonants (no word a player would pick).
inline constexpr char SavingMark[] = ".saving-";
bool isLeftoverName(const QString& fileName, const QString& targetName);

} // namespace zw::platform
