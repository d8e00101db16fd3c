#pragma once
// The XDG base folders, as the game and every library it loads see them.

namespace zw::platform {

// Removes XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR
// from the environment where they are not absolute paths. The XDG rules say
// to ignore a relative one; removed before Qt or the sound library reads
// them, no library of the game's makes folders under the current folder.
// Call first thing in main, before any thread starts.
void dropRelativeXdgFolders();

} // namespace zw::platform
