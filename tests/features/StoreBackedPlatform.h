#pragma once
// The recording platform of the rule tests, but with its saves going to the
// real per-user settings store on disk, so what the game writes is what a
// later start of the program reads back.

#include "FakePlatform.h"

#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

namespace zw::test {

class StoreBackedPlatform : public FakePlatform {
public:
    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const std::vector<std::pair<QString, QString>>& keysWithDefaults) override
    {
        settingsApps << app;
        return platform::SettingsStore(platform::storePathOf(app)).readAll(section, keysWithDefaults);
    }

    void saveSettings(const QString& app, const QString& section,
                      const std::vector<std::pair<QString, QString>>& values) override
    {
        settingsApps << app;
        log << QStringLiteral("save");
        platform::SettingsStore(platform::storePathOf(app)).writeAll(section, values);
        ++saves;
    }
};

} // namespace zw::test
