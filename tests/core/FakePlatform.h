#pragma once
// A platform that records every call the game makes, with a settings store
// in memory, for driving the rules in tests.

#include "game/Platform.h"
#include "base/RuntimeError.h"
#include "base/UnreadableStore.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zw::test {

class FakePlatform : public Platform {
public:
    struct Box {
        QString prompt;
        int style;
    };

    // settings[section + "/" + key]; application is checked separately.
    QMap<QString, QString> settings;
    QStringList settingsApps;   // application of every read and write
    int saves = 0;              // calls of saveSettings
    bool failSaves = false;     // saveSettings raises a run-time error
    bool unreadableStore = false; // getSettings raises UnreadableStore
    int loads = 0;                // looks at the store, each for any number of keys
    QList<Box> boxes;
    int beeps = 0;
    int endCalls = 0;
    QStringList mci;            // media commands in order
    QStringList opened;         // URLs given to the shell
    QString programDir = QStringLiteral("/opt/zigwalk");
    QSet<QString> files;        // paths that exist as ordinary files
    QStringList log;            // every call, in order: "beep", "save", "box", "end", "mci:...", "open:..."

    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const std::vector<std::pair<QString, QString>>& keysWithDefaults) override
    {
        settingsApps << app;
        ++loads;
        if (unreadableStore)
            throw UnreadableStore();
        std::vector<QString> values;
        for (const auto& [key, defaultText] : keysWithDefaults)
            values.push_back(settings.value(section + "/" + key, defaultText));
        return values;
    }
    void saveSettings(const QString& app, const QString& section,
                      const std::vector<std::pair<QString, QString>>& values) override
    {
        settingsApps << app;
        log << QStringLiteral("save");
        if (failSaves)
            throw RuntimeError(75, "Path/File access error");
        ++saves;
        for (const auto& [key, value] : values)
            settings[section + "/" + key] = value;
    }
    void messageBox(const QString& prompt, int style) override
    {
        log << QStringLiteral("box");
        boxes.append({prompt, style});
    }
    void beep() override
    {
        log << QStringLiteral("beep");
        ++beeps;
    }
    void endProgram() override
    {
        log << QStringLiteral("end");
        ++endCalls;
    }
    void mciExecute(const QString& command) override
    {
        log << QStringLiteral("mci:") + command;
        mci << command;
    }
    void shellOpen(const QString& url) override
    {
        log << QStringLiteral("open:") + url;
        opened << url;
    }
    QString programDirectory() override { return programDir; }
    bool fileExists(const QString& path) override { return files.contains(path); }
    // Upper-casing as under a Turkish locale: i becomes the dotted capital İ.
    bool turkishCasing = false;
    QString toUpper(const QString& text) override
    {
        if (!turkishCasing)
            return text.toUpper();
        QString dotted = text;
        dotted.replace(QLatin1Char('i'), QChar(0x0130));
        return dotted.toUpper();
    }

    void addMusic() { files.insert(programDir + QStringLiteral("/music.mid")); }
    void removeMusic() { files.remove(programDir + QStringLiteral("/music.mid")); }
};

} // namespace zw::test
