#pragma once
// The real outside world of the game: the settings store, the sound, the web
// browser, message boxes, the program's directory and the end of the program.
// Needs a running QApplication.

#include "game/Platform.h"
#include "platform/store/SettingsStore.h"
#include "platform/sound/Sound.h"

#include <functional>

namespace zw::platform {

class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // Called just before a message box opens, so the window can hold its
    // timer while the player reads.
    void setBeforeMessageBox(std::function<void()> pause) { beforeBox_ = std::move(pause); }

    // The window has shown its first frame: the sound may set itself up now.
    void windowShown() { sound_.setUpNow(); }

    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const std::vector<std::pair<QString, QString>>& keysWithDefaults) override;
    void saveSettings(const QString& app, const QString& section,
                      const std::vector<std::pair<QString, QString>>& values) override;
    void messageBox(const QString& prompt, int style) override;
    void beep() override;
    [[noreturn]] void endProgram() override;
    void mciExecute(const QString& command) override;
    void shellOpen(const QString& url) override;
    QString programDirectory() override;
    bool fileExists(const QString& path) override;
    QString toUpper(const QString& text) override;

private:
    Sound sound_;
    std::function<void()> beforeBox_;
};

} // namespace zw::platform
