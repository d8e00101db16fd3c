#pragma once
// How Qt's mouse state becomes the button and shift values the rules read:
// buttons as bits (1 left, 2 right, 4 middle, then 8, 16... for the extra
// buttons) and shift as 1 Shift, 2 Ctrl, 4 Alt.

#include <QFlags>
#include <Qt>
#include <cstdint>

namespace zw::view {

// One button (the one pressed) or a set of held buttons, as a bit mask.
std::int16_t buttonBits(Qt::MouseButtons buttons);

std::int16_t shiftBits(Qt::KeyboardModifiers modifiers);

} // namespace zw::view
