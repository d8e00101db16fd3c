// Qt's buttons and modifier keys as the values the rules read.

#include "ui/view/MouseMapping.h"

#include <gtest/gtest.h>

namespace zw::view {
namespace {

TEST(MouseMapping, ButtonsBecomeBits)
{
    const std::pair<Qt::MouseButtons, int> cases[] = {
        {Qt::NoButton, 0},
        {Qt::LeftButton, 1},
        {Qt::RightButton, 2},
        {Qt::MiddleButton, 4},
        {Qt::BackButton, 8},
        {Qt::ForwardButton, 16},
        {Qt::LeftButton | Qt::RightButton, 3},
        {Qt::LeftButton | Qt::MiddleButton | Qt::BackButton, 13},
        {Qt::LeftButton | Qt::ExtraButton24, 1}, // beyond 16 bits: left out, never negative
    };
    for (const auto& [buttons, bits] : cases)
        EXPECT_EQ(buttonBits(buttons), bits) << buttons.toInt();
}

TEST(MouseMapping, ModifiersBecomeShiftBits)
{
    const std::pair<Qt::KeyboardModifiers, int> cases[] = {
        {Qt::NoModifier, 0},
        {Qt::ShiftModifier, 1},
        {Qt::ControlModifier, 2},
        {Qt::AltModifier, 4},
        {Qt::ShiftModifier | Qt::AltModifier, 5},
        {Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 7},
        {Qt::MetaModifier | Qt::KeypadModifier, 0},
    };
    for (const auto& [modifiers, bits] : cases)
        EXPECT_EQ(shiftBits(modifiers), bits) << modifiers.toInt();
}

} // namespace
} // namespace zw::view
