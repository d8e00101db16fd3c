#pragma once
// Everything outside the game window that the rules call: the settings
// store, message boxes, the beep, the end of the program, the media
// commands, the shell, the program's directory and the locale. The real one
// lives in platform/; tests use a fake that records every call.

#include <QString>
#include <utility>
#include <vector>

namespace zw {

class Platform {
public:
    virtual ~Platform() = default;

    // Per-user settings store, addressed by application, section and key.
    // Reads the keys of one section in one look at the store and gives each
    // key's text in the order asked; a missing key gives the default paired
    // with it. A store that is there but cannot be read as the game's own
    // file raises UnreadableStore (base/UnreadableStore.h).
    virtual std::vector<QString> getSettings(const QString& app, const QString& section,
                                             const std::vector<std::pair<QString, QString>>& keysWithDefaults) = 0;
    // Writes all the values of one save together: afterwards the store holds
    // either all the old values or all the new ones. A failure raises RuntimeError.
    virtual void saveSettings(const QString& app, const QString& section,
                              const std::vector<std::pair<QString, QString>>& values) = 0;

    // Modal message box titled with the application's name; the answer is not used.
    // Style 0: OK button; 48: exclamation icon and OK button.
    virtual void messageBox(const QString& prompt, int style) = 0;

    virtual void beep() = 0;

    // Ends the whole program at once. The real one does not return; a fake
    // records it and the game then treats every later event as not delivered.
    virtual void endProgram() = 0;

    // One media command string ("Play music.mid", "Stop music.mid"). Its result is never used.
    virtual void mciExecute(const QString& command) = 0;

    // Opens a URL with the desktop's default action; failures are ignored.
    virtual void shellOpen(const QString& url) = 0;

    // The directory that holds the program's own file, without a trailing separator.
    virtual QString programDirectory() = 0;
    // True if path names an ordinary file (not a directory, not hidden).
    virtual bool fileExists(const QString& path) = 0;

    // Upper-casing by the user's locale rules.
    virtual QString toUpper(const QString& text) = 0;
};

} // namespace zw
