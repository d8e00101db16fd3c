#pragma once
// A platform that does nothing, so a benchmark times the rules and not the
// disk, the sound or a browser. Ending the program only marks the game as
// ended; the benchmarks never let it get that far.

#include "game/Platform.h"

namespace zw::bench {

class QuietPlatform final : public Platform {
public:
    std::vector<QString> getSettings(const QString&, const QString&,
                                     const std::vector<std::pair<QString, QString>>& keysWithDefaults) override
    {
        std::vector<QString> defaults;
        for (const auto& [key, defaultText] : keysWithDefaults)
            defaults.push_back(defaultText);
        return defaults;
    }
    void saveSettings(const QString&, const QString&, const std::vector<std::pair<QString, QString>>&) override {}
    void messageBox(const QString&, int) override {}
    void beep() override {}
    void endProgram() override {}
    void mciExecute(const QString&) override {}
    void shellOpen(const QString&) override {}
    QString programDirectory() override { return QStringLiteral("/nonexistent"); }
    bool fileExists(const QString&) override { return false; }
    QString toUpper(const QString& text) override { return text.toUpper(); }
};

} // namespace zw::bench
