#pragma once
// A folder of levels a player drew: level-01.png to level-NN.png (N from 1 to
// the number of built-in mazes, no gaps), each a maze in the colour key. The
// game opens such a folder in place of its own mazes, and only when every
// picture in it passes the rules below, which are the built-in mazes' rules
// cut to what a player's maze needs: disc sizes and places, the top strip and
// the badge are the player's own business.
//
// Every file is looked at before it is opened and read header first, so a
// huge, truncated, hostile or unreadable file is refused at once, without a
// hang and without a large allocation.

#include "check/Finding.h"
#include "check/Playability.h"

#include "base/RegularFile.h"

#include <QImage>
#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace zw::check {

// The language of the findings' texts: the game's own numbering (0 Czech, 1 English).
enum class Language { Czech = 0, English = 1 };

// The player reads the findings in the game's language: the Czech text or
// the English one (both UTF-8).
QString say(Language lang, const char* czech, const char* english);

// A file larger than this is no 640 x 480 picture anyone drew; an
// uncompressed 32-bit one takes 1.2 MB.
inline constexpr qint64 LargestPictureFile = 8 * 1024 * 1024;

// The picture in path (named file in the findings), decoded only when its
// file is a regular file of a sane size and its header says 640 x 480. A null
// picture with at least one finding otherwise.
QImage readPlayerPicture(const QString& path, const QString& file, Language lang, std::vector<Finding>& out);

// The same for a picture's bytes already in memory (a level in a pack): the
// path's version reads the file and hands its bytes here, so a pack's level
// is decoded within the same bounds as a folder's (PictureFile.h). The bytes
// are given up so that they are freed before the picture is decoded.
QImage decodePlayerPicture(QByteArray bytes, const QString& file, Language lang, std::vector<Finding>& out);

// The rules of a player's maze. `ways` receives the ways from the start to
// each goal when the maze is whole enough to measure.
std::vector<Finding> checkPlayerMaze(const QString& file, const QImage& image, Language lang,
                                     std::vector<PathMeasure>* ways = nullptr);

struct PlayerLevel {
    QString file;  // "level-03.png"
    QImage image;  // 8-bit key indices when clean, else as decoded; null when unreadable
    std::vector<PathMeasure> ways;
};

struct PlayerFolder {
    QString canonicalPath;           // empty when the folder is not there
    std::vector<PlayerLevel> levels; // level-01 to level-NN, in order
    std::vector<Finding> findings;   // empty: the folder can be played
};

// Opens and checks a whole folder. Every picture is decoded at most once.
// With measureWays each clean maze's ways are measured too (slow: for the
// checker's table, not for starting the game).
PlayerFolder openPlayerFolder(const QString& folder, Language lang, bool measureWays = false);

// The rules of a set's numbering: level-01 there, no gaps, at most LastMaze
// levels. `there` says whether level k's file is in the set; noLevels is the
// finding's detail when level-01 is not ("missing in FOLDER"), setRule the
// rule of "too many". Gives the last level there (0 when none).
int checkNumbering(const std::function<bool(int)>& there, const QString& noLevels, const QString& setRule, Language lang,
                   std::vector<Finding>& out);

// A decoded level (null: unreadable, its finding given already) held to the
// maze rules and kept in level.image, as key indices when clean.
void keepPlayerLevel(PlayerLevel& level, QImage image, Language lang, bool measureWays, std::vector<Finding>& out);

// "level-07.png"
QString playerLevelFile(int level);

// Why a file or folder cannot be read (an errno), in the player's language:
// the system's own texts are English whatever the game speaks.
QString cannotRead(Language lang, int error);

// Why a file a player handed the game was not read (RegularFile.h), in the
// player's language; limit is the cap it was read with. Empty when it was.
QString notRead(Language lang, RegularFile::State state, int error, qint64 limit);

} // namespace zw::check
