#pragma once
// The window's fonts. DejaVu Sans carries every Czech letter (č, ř, ě, ů...)
// and is installed with the game's dependencies.

#include <QFont>

namespace zw::view {

// The labels on the strip: small enough for a 13-pixel line.
QFont labelFont();

// The level-code box: large and bold, easy to read on dark grey.
QFont codeBoxFont();

} // namespace zw::view
