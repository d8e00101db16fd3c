#pragma once
// The outside world of a random game, kept in memory and kept small: it
// counts what the game asks for instead of logging it, so a session of a
// million events costs no more memory at its end than at its start.

#include "game/Platform.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zw::reliability {

using SavedValues = std::vector<std::pair<QString, QString>>;

class PlayPlatform final : public Platform {
public:
    struct Box {
        QString prompt;
        int style;
    };

    // The settings store: "SaveGame/Saw1" -> text.
    std::map<QString, QString> store;
    // The store cannot be written (a full disk, a read-only folder).
    bool storeFails = false;
    // Every set of values that reached the store, as it is written.
    std::function<void(const SavedValues&)> onSaved;

    // Boxes shown since the player last cleared them (after every event).
    std::vector<Box> boxes;
    // The first call addressed to another application or section, if any.
    std::optional<std::string> wrongAddress;

    std::uint64_t saves = 0, failedSaves = 0, beeps = 0, ends = 0, pagesOpened = 0, mediaCommands = 0;

    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const SavedValues& keysWithDefaults) override;
    void saveSettings(const QString& app, const QString& section, const SavedValues& values) override;
    void messageBox(const QString& prompt, int style) override { boxes.push_back({prompt, style}); }
    void beep() override { ++beeps; }
    void endProgram() override { ++ends; }
    void mciExecute(const QString&) override { ++mediaCommands; }
    void shellOpen(const QString&) override { ++pagesOpened; }
    QString programDirectory() override { return QStringLiteral("/opt/zigwalk"); }
    bool fileExists(const QString&) override { return false; }
    QString toUpper(const QString& text) override { return text.toUpper(); }

private:
    void checkAddress(const QString& app, const QString& section);
};

} // namespace zw::reliability
