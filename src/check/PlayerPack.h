#pragma once
// A level pack: a player's levels shared as one file, a ZIP archive named
// NAME.zigwalk holding level-01.png ... level-NN.png (numbered as in a
// folder) and, if the player likes, pack.txt: "name: ...", "author: ..." and
// "description: ..." lines in UTF-8. The game plays a pack exactly as a
// folder, by the same rules.
//
// A pack is read in place, one entry at a time, and nothing in it reaches
// the disk. Anything but the level pictures and pack.txt is refused before a
// byte of it is inflated: folders, "..", absolute names, links, other files,
// nested archives, more entries than a pack can need, a size past the caps.
// An entry is read with a cap of its declared size, so one that inflates to
// more (or less) than it says is refused as soon as it does.

#include "base/Levels.h"
#include "check/PlayerLevels.h"

#include <QByteArray>
#include <QString>

namespace zw::check {

inline const QString PackInfoFile = QStringLiteral("pack.txt");
inline const QString PackSuffix = QStringLiteral(".zigwalk");

// Twenty levels and pack.txt, with room to spare; a pack of more is hostile
// and is refused unread.
inline constexpr int MostPackEntries = 32;
// A name, an author and a few lines of description.
inline constexpr qint64 LargestPackInfo = 1024;
// Every entry inflated, at most: twenty pictures at the picture cap.
inline constexpr qint64 LargestPackContent = qint64(LastMaze) * LargestPictureFile + LargestPackInfo;

struct PackInfo {
    QString name, author, description; // from pack.txt; empty when it says nothing
};

struct PlayerPack {
    PlayerFolder levels; // as a folder's; canonicalPath is the pack file's
    PackInfo info;
    // SHA-256 over the levels' bytes in level order: the same pack wherever it
    // lies and whatever it is called; another one once a level changes.
    // Empty when the pack is refused.
    QByteArray contentHash;
};

// pack.txt's text for this info; empty when it says nothing. The keys are
// those readPackInfo reads.
QByteArray packInfoText(const PackInfo& info);

// Opens and checks a whole pack; every picture is decoded at most once, by
// the same entry point as a folder's (decodePlayerPicture).
PlayerPack openPlayerPack(const QString& path, Language lang, bool measureWays = false);

// Whether a name the player gave means a pack rather than a folder.
bool namesPack(const QString& path);

// pack.txt's lines; a line that is not "key: value" of a known key is
// passed over, a file that is not UTF-8 is a finding.
PackInfo readPackInfo(const QByteArray& bytes, Language lang, std::vector<Finding>& out);

} // namespace zw::check
