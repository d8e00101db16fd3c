#pragma once
// One overview picture of the whole set: every full-window picture as a
// labelled thumbnail, and both pointers enlarged, for looking them over by eye.

#include "check/CheckFolder.h"

#include <QImage>
#include <vector>

namespace zw::check {

// Needs a QGuiApplication for the labels.
QImage contactSheet(const std::vector<LoadedPicture>& pictures);

} // namespace zw::check
