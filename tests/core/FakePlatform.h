#pragma once
// A platform that records every call the game makes, with a settings store
// in memory, for driving the rules in tests.

#include "game/Platform.h"
#include "game/RuntimeError.h"
#include "game/UnreadableStore.h"

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
    bool unreadableStore = false; // getSetting raises UnreadableStore
    QList<Box> boxes;
    int beeps = 0;
    int endCalls = 0;
    QStringList mci;            // media commands in order
    QStringList opened;         // URLs given to the shell
    QString programDir = QStringLiteral("/opt/zigwalk");
    QSet<QString> files;        // paths that exist as ordinary files
    QStringList log;            // every call, in order: "beep", "save", "box", "end", "mci:...", "open:..."

    QString getSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultText) override
    {
        settingsApps << app;
        if (unreadableStore)
            throw UnreadableStore();
        return settings.value(section + "/" + key, defaultText);
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
