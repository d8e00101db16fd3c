#pragma once
// The most the game reads of a file a player hands it other than a picture:
// the settings store and the background tune. Either is a few kilobytes; a
// larger file is refused unread, whatever it claims, so no such file costs
// the game more than this in time or memory.

#include <QtGlobal>

namespace zw {

inline constexpr qint64 LargestDataFile = 4 * 1024 * 1024;

} // namespace zw
