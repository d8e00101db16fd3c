#pragma once
// The game's settings store where the test's environment puts it.

#include "ConfigHome.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

namespace zw::test {

inline platform::SettingsStore gameStore() { return platform::SettingsStore(platform::storePathOf(StoreApp)); }

inline QString readStored(const QString& section, const QString& key, const QString& defaultText)
{
    return gameStore().readAll(section, {{key, defaultText}}).front();
}

} // namespace zw::test
