#pragma once
// The window's fonts. Both faces carry every Czech letter (č, ř, ě, ů...)
// and come with the game's dependencies: Liberation Sans (fonts-liberation2)
// for the strip, DejaVu Sans for the code box.

#include <QFont>
#include <QString>

namespace zw::view {

// The family the strip's labels ask for; a test makes sure it is really the
// one that gets loaded and not a stand-in.
QString labelFontFamily();

// The labels on the strip: a 13-pixel line, and narrow enough that the long
// Czech home-page line and the deaths line with a seven-digit count still
// stand apart. Full hinting snaps the stems to whole pixels, so the small
// letters stay sharp instead of smeared.
QFont labelFont();

// The level-code box: large and bold, easy to read on dark grey.
QFont codeBoxFont();

} // namespace zw::view
