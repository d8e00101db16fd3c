#pragma once
// The places on a full-window picture that mean something, shared by the
// drawing tool that paints them and the rules that hold pictures to them.
// Boxes include both corners.

#include "base/PictureSize.h"

#include <QRect>

namespace zw::check {

// A box given by both corners, both included.
constexpr QRect box(int x1, int y1, int x2, int y2) { return QRect(QPoint(x1, y1), QPoint(x2, y2)); }

namespace area {
inline constexpr QRect nameStrip = box(2, 2, 175, 13);       // maker's name, top left
inline constexpr QRect homeStrip = box(452, 2, 637, 14);     // home page address, top right
inline constexpr QRect badge = box(252, 2, 390, 48);         // back-to-menu badge
inline constexpr QRect pupils = box(174, 136, 466, 396);     // level 17's four orange pupils
inline constexpr QRect arrowBox = box(100, 93, 325, 158);    // closing picture's start sign
inline constexpr QRect closingDisc = box(423, 152, 615, 342); // closing picture's big disc
inline constexpr QRect logo = box(351, 269, 531, 404);       // maker's logo on the menu
} // namespace area

} // namespace zw::check
