#pragma once
// The playability table of the twenty mazes, as markdown.

#include "check/CheckFolder.h"

#include <QString>
#include <vector>

namespace zw::check {

QString playabilityTable(const std::vector<LoadedPicture>& pictures);

} // namespace zw::check
