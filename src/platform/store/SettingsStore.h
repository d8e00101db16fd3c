#pragma once
// The per-user settings store: one file in QSettings' native format,
// $XDG_CONFIG_HOME/Zigwalk_Korvel.conf (by default ~/.config), one group per
// section. The file is read once for all the values a load wants, straight
// from the bytes read, and a save writes the new bytes beside it and renames
// them over it, so a crash or kill leaves either the old set or the new one.
// Only an ordinary file of a sane size is ever read or replaced; nothing else
// at the store's path can block the game or be overwritten by it, and nothing
// of the store is ever copied anywhere else.

#include "platform/store/StoreText.h"

#include <QString>
#include <vector>

namespace zw::platform {

class SettingsStore {
public:
    // The stored text of each key, in the order asked, or the default given
    // with it when the key or the whole store is missing. Raises
    // zw::UnreadableStore when the store is there but cannot be read as the
    // game's own file (see base/UnreadableStore.h).
    std::vector<QString> readAll(const QString& app, const QString& section, const KeyTexts& keysWithDefaults) const;
    QString read(const QString& app, const QString& section, const QString& key, const QString& defaultText) const;

    // Writes every value, all together. Raises zw::RuntimeError when the
    // store cannot be written; what was stored before is then unchanged.
    // The first save of a run also clears away the new files that saves cut
    // short in earlier runs left beside the store.
    void writeAll(const QString& app, const QString& section, const KeyTexts& values);

    // Where the store of app lives: in $XDG_CONFIG_HOME when that is an
    // absolute path, else in .config of the player's home ($HOME, or the
    // home the password database gives when HOME is not set). Empty when the
    // player has no home but the root folder: the store then has no place.
    static QString pathOf(const QString& app);
};

} // namespace zw::platform
