#pragma once
// One overview picture of the whole set: every full-window picture as a
// labelled thumbnail, and both pointers enlarged, for looking them over by eye.

#include "check/CheckFolder.h"
#include "check/DifficultyCurve.h"

#include <QImage>
#include <vector>

namespace zw::check {

// Needs a QGuiApplication for the labels. A maze whose difficulty is given
// has its ID beside its file name, so the curve can be read off the sheet.
QImage contactSheet(const std::vector<LoadedPicture>& pictures, const std::vector<LevelDifficulty>& difficulties = {});

} // namespace zw::check
