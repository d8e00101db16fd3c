#pragma once
// Where the settings store of an application lives on this desktop.

#include <QString>

namespace zw::platform {

// $XDG_CONFIG_HOME/<app>.conf when XDG_CONFIG_HOME is an absolute path, else
// .config/<app>.conf in the player's home ($HOME, or the home the password
// database gives when HOME is not set). Empty when the player has no home
// but the root folder: the store then has no place.
QString storePathOf(const QString& app);

} // namespace zw::platform
