#pragma once
// How Qt's mouse state becomes the values the rules read: buttons as bits
// (1 left, 2 right, 4 middle, then 8, 16... for the extra buttons), shift as
// 1 Shift, 2 Ctrl, 4 Alt, and the pointer's place as the picture pixel that
// the window painted under it.

#include <QFlags>
#include <QImage>
#include <QPointF>
#include <Qt>
#include <cstdint>

namespace zw::view {

// One button (the one pressed) or a set of held buttons, as a bit mask.
std::int16_t buttonBits(Qt::MouseButtons buttons);

std::int16_t shiftBits(Qt::KeyboardModifiers modifiers);

// The one mapping between screen pixels and picture pixels, along one axis,
// at a desktop scale (device pixels per window pixel): the picture pixel
// whose square holds the centre of screen pixel `devicePixel`. The window
// paints every screen pixel with this picture pixel and the pointer reads the
// same one, so what the player sees under the pointer is what counts.
int picturePixel(int devicePixel, double scale);

// The screen pixel (counted from the window's origin) that a pointer at this
// device position lies on. A pointer on a whole pixel can come back from the
// conversion to window pixels and back a hair below it (100 as 99.99999), so
// a tiny slack is allowed before flooring.
int devicePixelAt(double devicePosition);

// Where the rules look for a pointer at this exact window position (window
// pixels, with their fraction): the picture pixel painted under it, as a
// whole-number position.
QPointF pictureSpot(QPointF windowPosition, double scale);

// The picture as the screen shows it at this scale: one image pixel per
// screen pixel, each a copy of the picture pixel picturePixel() names, so
// the drawing needs no smoothing and every screen pixel is one of the
// picture's own colours. Its device pixel ratio is the scale.
QImage pictureOnScreen(const QImage& picture, double scale);

} // namespace zw::view
