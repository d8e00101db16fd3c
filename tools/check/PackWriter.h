#pragma once
// zigwalk-check --pack: a folder of levels that passes every rule written as
// a level pack (check/PlayerPack.h), whole or not at all.

#include "check/PlayerPack.h"

#include <QString>

namespace zw::check {

// Writes the pack of folder's levels to out: the bytes of each level as
// they are in the folder, and pack.txt when info says anything. The pack is
// written as the store writes its file (platform/store/ReplaceFile.h): to a
// new file beside out, synced, read back by the game's own pack reader and
// only then renamed to out; on any failure nothing is left and
// the reason is in `error`. Gives whether out was written.
bool writeLevelPack(const PlayerFolder& folder, const QString& folderPath, const PackInfo& info, const QString& out,
                    QString& error);

} // namespace zw::check
