// Qt's buttons and modifier keys as the values the rules read.

#include "view/MouseMapping.h"

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

// At every scale a desktop can have, the pointer on a screen pixel reads the
// picture pixel that the painting put on that screen pixel, also when the
// pointer's window position comes as a fraction that lands a hair below it.
TEST(MouseMapping, PointerReadsThePicturePixelPaintedUnderIt)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) | ((y >> 8) << 4)));
    for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0}) {
        const QImage shown = pictureOnScreen(picture, scale);
        EXPECT_EQ(shown.width(), qRound(640 * scale)) << scale;
        EXPECT_EQ(shown.height(), qRound(480 * scale)) << scale;
        for (int d = 0; d < shown.width(); ++d) {
            // The window position of screen pixel d as Qt hands it on: its
            // device position divided by the scale.
            const QPointF spot = pictureSpot(QPointF(d / scale, d / scale * 0.75), scale);
            const int dy = int(d * 0.75 + 1e-9);
            ASSERT_EQ(picture.pixel(int(spot.x()), 0), shown.pixel(d, 0)) << scale << " " << d;
            if (dy < shown.height() && d / scale * 0.75 * scale == dy) {
                ASSERT_EQ(picture.pixel(0, int(spot.y())), shown.pixel(0, dy)) << scale << " " << d;
            }
        }
    }
}

// Whole scales give whole blocks: each picture pixel a square of scale x scale
// screen pixels; fractional ones give every picture pixel one or two.
TEST(MouseMapping, PicturePixelsCoverWholeScreenPixels)
{
    for (int d = 0; d < 8; ++d) {
        EXPECT_EQ(picturePixel(d, 1), d);
        EXPECT_EQ(picturePixel(d, 2), d / 2);
        EXPECT_EQ(picturePixel(d, 3), d / 3);
    }
    const int atOneAndAHalf[] = {0, 1, 1, 2, 3, 3, 4};
    for (int d = 0; d < 7; ++d)
        EXPECT_EQ(picturePixel(d, 1.5), atOneAndAHalf[d]) << d;
    EXPECT_EQ(devicePixelAt(100.0 / 1.5 * 1.5), 100);
    EXPECT_EQ(devicePixelAt(99.6), 99);
    EXPECT_EQ(devicePixelAt(-0.5), -1);
}

} // namespace
} // namespace zw::view
