#include "ui/view/MouseMapping.h"

namespace zw::view {

std::int16_t buttonBits(Qt::MouseButtons buttons)
{
    // Qt numbers its buttons with the same bits the rules use (left 1, right 2,
    // middle 4, back 8, forward 16...). The rules keep them in a signed 16-bit
    // value, so the exotic buttons beyond bit 14 are left out rather than
    // turning the value negative.
    return static_cast<std::int16_t>(buttons.toInt() & 0x7FFF);
}

std::int16_t shiftBits(Qt::KeyboardModifiers modifiers)
{
    std::int16_t bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

} // namespace zw::view
