#pragma once
// Runs the scripted game (scripted_game.cpp) in a process of its own and
// reads what it reports: the saves it made, and what a new start loads.

#include "base/Levels.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zw::reliability {

// Saw1 to Saw4 as integers, the way the game writes whole numbers.
struct SaveSet {
    long level = 0, deaths = 0, sum = 0, remainder = 0;
    bool operator==(const SaveSet&) const = default;
    // One whole set as the game makes it: a maze level, and checks that fit.
    bool consistent() const
    {
        return level >= FirstMaze && level <= LastMaze && deaths >= 0 && sum == level + deaths && remainder == deaths % level;
    }
};

struct GameRun {
    int exitCode = -1;
    bool crashed = false; // killed, or died of a signal
    QStringList lines;    // what it printed, one report a line
    QString errors;       // what it printed on stderr

    // A value of the "done ..." summary (done saves=3 ...); -1 or empty when missing.
    long summary(const QString& key) const { return summaryText(key).isEmpty() ? -1 : summaryText(key).toLong(); }
    QString summaryText(const QString& key) const;
    // The last save that the game reported as written.
    std::optional<SaveSet> lastSave() const;
};

struct LoadReport {
    GameRun run;
    std::optional<SaveSet> stored;  // all four keys, as numbers; nothing if any is missing or odd
    bool nothingStored = false;     // all four keys missing
    bool accepted = false;
    long level = -1, deaths = -1;   // when accepted
};

// The environment of a test's game: the given settings folder and nothing of
// the caller's audio or display.
QProcessEnvironment gameEnvironment(const QString& configHome);

// Runs scripted_game (by default the one built beside the tests) to its end.
GameRun runGame(const QStringList& args, const QProcessEnvironment& environment,
                const QString& program = QString(), std::function<void()> inChild = {});

// A new start that continues at once: what the store holds and what the game made of it.
LoadReport loadInNewStart(const QProcessEnvironment& environment, const QString& program = QString(),
                          std::function<void()> inChild = {});

// "saving 7 15 22 1" as a set.
std::optional<SaveSet> parseSaving(const QString& line);

QString scriptedGamePath();

} // namespace zw::reliability
