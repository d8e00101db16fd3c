#pragma once
// The settings store is there but is not a file the game can read as its
// own: a folder, a device, a pipe or a socket in its place, a file the player
// may not read or that fails to read, or one far larger than any save. Loading
// takes it as damaged data; anything else that meets it sees the platform's
// file access error.

#include "base/RuntimeError.h"

namespace zw {

class UnreadableStore : public RuntimeError {
public:
    UnreadableStore() : RuntimeError(FileAccess, FileAccessMessage) {}

    static constexpr int FileAccess = 75;
    static constexpr char FileAccessMessage[] = "Path/File access error";
};

} // namespace zw
