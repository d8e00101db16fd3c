#pragma once
// The per-user settings store: one file, $XDG_CONFIG_HOME/Zigwalk_Korvel.conf
// (store/StorePath.h), that the player may share with their own notes. The
// game reads its values from the file's lines and a save edits only the
// value bytes of its own key lines (store/SectionLines.h); the edited file
// replaces the old one by one rename (store/AtomicFile.h), so a crash or kill
// leaves either the old set or the new one, and every byte the game does not
// own stays as it was.

#include "platform/store/SectionLines.h"

#include <QString>
#include <vector>

namespace zw::platform {

class SettingsStore {
public:
    explicit SettingsStore(QString path) : path_(std::move(path)) {}

    // The stored text of each key of section, in the order asked, or the
    // default given with it when the key or the whole store is missing.
    // Raises zw::UnreadableStore when the store is there but cannot be read
    // as the game's own file (see base/UnreadableStore.h).
    std::vector<QString> readAll(const QString& section, const KeyTexts& keysWithDefaults) const;

    // Writes every value of section, all together. Raises zw::RuntimeError
    // (the file access error) when the store cannot be written, or when the
    // edited file would be larger than the game reads (LargestStore); what
    // was stored before is then unchanged. The first save of a run also clears
    // away the new files that saves cut short in earlier runs left behind.
    void writeAll(const QString& section, const KeyTexts& values);

    const QString& path() const { return path_; }

private:
    QString path_; // empty: the store has no place
};

} // namespace zw::platform
