#pragma once
// The game's outside world with the real settings store on disk, for the
// tests that damage, lock or fill that store, and for the scripted game
// that is killed while it saves. Boxes are counted, not shown; the sound,
// when given, is the real one.

#include "PlayPlatform.h"

#include "game/Platform.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace zw::platform {
class Sound;
}

namespace zw::reliability {

class StoreFilePlatform final : public Platform {
public:
    explicit StoreFilePlatform(platform::Sound* sound = nullptr, QString programDirectory = QStringLiteral("/nonexistent"))
        : sound_(sound), programDirectory_(std::move(programDirectory)) {}

    // Around every write: before it with the values, after it with whether it went through.
    std::function<void(const SavedValues&)> beforeSave;
    std::function<void(bool written)> afterSave;

    std::vector<PlayPlatform::Box> boxes; // every box, in order
    std::uint64_t saves = 0, failedSaves = 0, beeps = 0, ends = 0;

    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const SavedValues& keysWithDefaults) override;
    void saveSettings(const QString& app, const QString& section, const SavedValues& values) override;
    void messageBox(const QString& prompt, int style) override { boxes.push_back({prompt, style}); }
    void beep() override;
    void endProgram() override { ++ends; }
    void mciExecute(const QString& command) override;
    void shellOpen(const QString&) override {}
    QString programDirectory() override { return programDirectory_; }
    bool fileExists(const QString& path) override;
    QString toUpper(const QString& text) override;

private:
    platform::Sound* sound_;
    QString programDirectory_;
};

} // namespace zw::reliability
