#pragma once
// Whether the Wayland compositor draws window frames itself. Where it does,
// Qt asks it to, and the game's window is all picture; where it does not, Qt
// would draw a frame of its own inside the window's surface, and that frame
// takes the pointer at the picture's outermost pixels.

#include <QStringList>

namespace zw::platform {

// True when one of these announced Wayland globals lets the compositor frame
// the window: the standard decoration protocol, or KDE's older one.
bool framesFromCompositor(const QStringList& globals);

// The globals the compositor of this session (WAYLAND_DISPLAY) announces, or
// nothing when no compositor answers or the Wayland client library is
// missing. The library is opened at run time, so an X11-only machine does not
// need it.
QStringList waylandGlobals();

} // namespace zw::platform
