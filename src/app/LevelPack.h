#pragma once
// A player's level pack (check/PlayerPack.h) made ready to play exactly as a
// folder is: the same mazes in a picture store, the same refusal, and a
// store section of its own keyed by the levels' bytes, so that a pack keeps
// its progress wherever it is moved and whatever it is renamed to.

#include "app/LevelFolder.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace zw {

// language: the game's (0 Czech, 1 English).
LevelFolder openLevelPack(const QString& path, std::uint8_t language);

// "SaveGame-pack-" and the first 16 hex digits of the levels' SHA-256.
QString packSaveSection(const QByteArray& contentHash);

// "Zig-walk – <name> (<author>)", the pack's file name standing in for what
// pack.txt does not say.
QString packTitle(const QString& name, const QString& author, const QString& fileName);

} // namespace zw
