#pragma once
// The per-user settings store through QSettings in its native format. On
// Linux an application "Zigwalk_Korvel" lives in
// $XDG_CONFIG_HOME/Zigwalk_Korvel.conf (default ~/.config), one group per
// section. A save writes all its values in one atomic replacement of the
// file, so a crash or kill leaves either the old set or the new one.

#include <QString>
#include <utility>
#include <vector>

namespace zw::platform {

class SettingsStore {
public:
    // The stored text, or defaultText when the key is missing or the store
    // cannot be read.
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultText) const;

    // Writes every value, all together. Raises zw::RuntimeError when the
    // store cannot be written; what was stored before is then unchanged.
    void writeAll(const QString& app, const QString& section,
                  const std::vector<std::pair<QString, QString>>& values);
};

} // namespace zw::platform
