#pragma once
// Closing a window the way a window manager's close button does: the
// WM_DELETE_WINDOW message of the window's WM_PROTOCOLS. The test displays
// run no window manager, and xdotool's windowclose destroys the window
// outright, which the program never hears of; this message reaches it as an
// ordinary close.

#include "XSession.h"

#include <QString>

namespace zw::e2e {

// False when the message could not be sent (no display, no such window).
bool requestClose(const XSession& x, const QString& windowId);

} // namespace zw::e2e
