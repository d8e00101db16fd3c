#pragma once
// A player's folder of levels made ready to play: checked by the picture
// rules, its mazes decoded once, and the store section its progress is saved
// in. A folder that breaks a rule gives the lines that say why, and nothing
// to play.

#include "assets/PictureStore.h"
#include "base/LevelSet.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace zw {

struct LevelFolder {
    LevelSet levels;
    std::shared_ptr<const std::vector<QImage>> mazes; // level 1 first; null when refused
    QStringList findings;                             // empty: the folder can be played
    QString canonicalPath;                            // where its levels lie
    QString title;                                    // the window's title; empty: the game's own
};

namespace check {
struct PlayerFolder;
}

// The mazes of a folder or pack opened and checked (check/PlayerLevels.h),
// decoded once and shared; its save section is the caller's to set.
LevelFolder levelFolderOf(check::PlayerFolder opened);

// language: the game's (0 Czech, 1 English).
LevelFolder openLevelFolder(const QString& folder, std::uint8_t language);

// "SaveGame-" and the first 16 hex digits of the SHA-256 of the folder's
// canonical path: each folder keeps its own progress, apart from the game's.
QString folderSaveSection(const QString& canonicalPath);

// The store with the folder's mazes in place of the built-in ones; every
// other picture is the game's own. The mazes are shared, not copied.
std::unique_ptr<PictureStore> makeFolderStore(std::shared_ptr<const std::vector<QImage>> mazes);

// The refusal as the player reads it: a heading (naming a folder, or a pack)
// and the first findings.
QString refusalText(const QString& folder, const QStringList& findings, std::uint8_t language, bool pack = false);

} // namespace zw
