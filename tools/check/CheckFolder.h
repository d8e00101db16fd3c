#pragma once
// Loads every picture of the game from a folder and holds it to the rules.

#include "check/Finding.h"
#include "check/PictureFacts.h"

#include <QImage>
#include <QString>
#include <vector>

namespace zw::check {

struct LoadedPicture {
    PictureInfo info;
    QImage image; // null when the file is missing or unreadable
};

struct FolderCheck {
    std::vector<LoadedPicture> pictures; // all 26, in the game's order
    std::vector<Finding> findings;
};

FolderCheck checkFolder(const QString& folder);

} // namespace zw::check
