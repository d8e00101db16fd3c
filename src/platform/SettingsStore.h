#pragma once
// The per-user settings store: one file in QSettings' native format,
// $XDG_CONFIG_HOME/Zigwalk_Korvel.conf (default ~/.config), one group per
// section. A save writes all its values in one atomic replacement of the
// file, so a crash or kill leaves either the old set or the new one. Only an
// ordinary file of a sane size is ever read or replaced; nothing else at the
// store's path can block the game or be overwritten by it.

#include <QString>
#include <utility>
#include <vector>

namespace zw::platform {

class SettingsStore {
public:
    // The stored text, or defaultText when the key or the whole store is
    // missing. Raises zw::UnreadableStore when the store is there but cannot
    // be read as the game's own file (see game/UnreadableStore.h).
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultText) const;

    // Writes every value, all together. Raises zw::RuntimeError when the
    // store cannot be written; what was stored before is then unchanged.
    // Also clears away the new files of earlier saves cut short.
    void writeAll(const QString& app, const QString& section,
                  const std::vector<std::pair<QString, QString>>& values);

    // Where the store of app lives.
    static QString pathOf(const QString& app);
};

} // namespace zw::platform
