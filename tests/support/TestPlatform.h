#pragma once
// The game's outside world for every test and benchmark that runs the rules
// without the real window: one stand-in with switches for what each needs.
// By default it records every call and keeps the settings store in memory;
// it can keep the store on disk instead (what one start saves, the next
// reads), or forget every save (a benchmark times the rules, not the disk);
// it can count calls without logging them, so a session of a million events
// costs no more memory at its end than at its start; and it can fail saves,
// loads or the program-directory query on demand.

#include "game/Platform.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zw::test {

using SavedValues = std::vector<std::pair<QString, QString>>;

class TestPlatform : public Platform {
public:
    struct Box {
        QString prompt;
        int style;
    };

    // Where the settings store lives.
    enum class Store {
        InMemory, // `settings` below
        OnDisk,   // the real per-user store file, through the game's own store code
        Nowhere,  // every read gives the defaults, every save vanishes
    };
    Store storeIn = Store::InMemory;
    // settings[section + "/" + key] of the store in memory.
    QMap<QString, QString> settings;
    bool failSaves = false;       // saveSettings raises a run-time error
    bool unreadableStore = false; // getSettings raises UnreadableStore
    // Around every save: before it with the values, after it with whether it went through.
    std::function<void(const SavedValues&)> beforeSave;
    std::function<void(const SavedValues&, bool written)> afterSave;

    // True: every call is logged below (log, settingsApps, mci, opened).
    // False: only the counters and the boxes, which the caller clears.
    bool recordCalls = true;
    QStringList log;            // every call, in order: "beep", "save", "box", "end", "mci:...", "open:..."
    QStringList settingsApps;   // application of every read and write
    QStringList mci;            // media commands in order
    QStringList opened;         // URLs given to the shell
    QList<Box> boxes;           // every box shown, in order
    // The first settings call addressed to another application or section, if any.
    std::optional<std::string> wrongAddress;
    long long loads = 0, saves = 0, failedSaves = 0, beeps = 0, ends = 0, mediaCommands = 0, pagesOpened = 0;

    // The real sound under the game, when a test wants it.
    std::function<void()> onBeep;
    std::function<void(const QString& command)> onMediaCommand;

    QString programDir = QStringLiteral("/opt/zigwalk");
    bool directoryFails = false; // programDirectory raises a run-time error
    // Which paths exist: those in `files`, or (realFiles) the ordinary files on disk.
    QSet<QString> files;
    bool realFiles = false;

    enum class Casing {
        Plain,   // QString::toUpper
        Locale,  // the user's locale, as the real platform does
        Turkish, // i becomes the dotted capital İ
    };
    Casing casing = Casing::Plain;

    // The store, files and casing of the machine the test runs on, with no
    // program folder: what a start of the real program without its window sees.
    void useThisMachine()
    {
        storeIn = Store::OnDisk;
        realFiles = true;
        casing = Casing::Locale;
        programDir = QStringLiteral("/nonexistent");
    }
    void addMusic() { files.insert(programDir + QStringLiteral("/music.mid")); }
    void removeMusic() { files.remove(programDir + QStringLiteral("/music.mid")); }

    std::vector<QString> getSettings(const QString& app, const QString& section,
                                     const SavedValues& keysWithDefaults) override;
    void saveSettings(const QString& app, const QString& section, const SavedValues& values) override;
    void messageBox(const QString& prompt, int style) override;
    void beep() override;
    void endProgram() override;
    void mciExecute(const QString& command) override;
    void shellOpen(const QString& url) override;
    QString programDirectory() override;
    bool fileExists(const QString& path) override;
    QString toUpper(const QString& text) override;

private:
    void note(const QString& call)
    {
        if (recordCalls)
            log << call;
    }
    void checkAddress(const QString& app, const QString& section);
};

} // namespace zw::test
