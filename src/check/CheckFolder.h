#pragma once
// Loads every picture of the game from a folder and holds it to the rules.

#include "check/Finding.h"
#include "check/PictureFacts.h"
#include "check/Playability.h"

#include <QImage>
#include <QString>
#include <vector>

namespace zw::check {

struct LoadedPicture {
    PictureInfo info;
    QImage image; // null when the file is missing or unreadable
    // A maze's ways to each of its goals, measured once by the path rule for
    // every later use; empty for other pictures and a maze not 640 x 480.
    std::vector<PathMeasure> ways;
};

struct FolderCheck {
    std::vector<LoadedPicture> pictures; // all 26, in the game's order
    std::vector<Finding> findings;
};

FolderCheck checkFolder(const QString& folder);

} // namespace zw::check
