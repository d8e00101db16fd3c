// The save store with what a careless desktop leaves at its path, against a
// store of one ordinary save in the same run: the first save of a new game,
// a save at a death, and the read of continue. A store of many megabytes is
// never read (continue answers bad data, a save fails), so it must cost what
// the ordinary store costs; a pipe in its place must fail at once. A config
// folder of 200,000 files must cost a death what an empty folder costs. A
// store of a megabyte of the player's notes is read and edited like a small
// one, and a death's save in it must cost at most three times one in a
// store of a hundred bytes.

#include "base/LevelSet.h"
#include "base/SaveStore.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using zw::platform::SettingsStore;

SettingsStore gameStore() { return SettingsStore(zw::platform::storePathOf(zw::StoreName)); }
const QString& Section = zw::BuiltInSaveSection;
const std::vector<std::pair<QString, QString>> SaveOfLevelOne = {
    {zw::savekey::Level, QStringLiteral("1")}, {zw::savekey::Deaths, QStringLiteral("0")},
    {zw::savekey::Sum, QStringLiteral("1")}, {zw::savekey::Remainder, QStringLiteral("0")}};

enum Kind : int { Ordinary = 0, TenMegabytes = 10, FiftyMegabytes = 50, Pipe = -1 };

// A private settings folder whose store is put back to its kind before every save.
class Folder {
public:
    Folder()
    {
        path_ = dir_.path() + QStringLiteral("/config");
        ::mkdir(QFile::encodeName(path_).constData(), 0755);
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path_));
    }
    QString store() const { return path_ + QLatin1Char('/') + zw::StoreName + QStringLiteral(".conf"); }

    void make(int kind) const
    {
        const QByteArray file = QFile::encodeName(store());
        ::unlink(file.constData());
        if (kind == Pipe) {
            ::mkfifo(file.constData(), 0600);
            return;
        }
        QFile out(store());
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        const QByteArray save = "[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n";
        out.write(save);
        // The rest written for real, as a hand-filled file would be: keys
        // and values, about 30 000 lines to the megabyte.
        QByteArray block;
        for (int line = 0; block.size() < (1 << 20); ++line)
            block += "Note" + QByteArray::number(line) + "=some text of a note\n";
        block.truncate(1 << 20);
        for (int mb = 0; mb < kind; ++mb)
            out.write(block);
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

// The first save of a new game, over a store of the given kind.
void FirstSave(benchmark::State& state)
{
    const Folder folder;
    const int kind = int(state.range(0));
    std::int64_t failed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        folder.make(kind);
        state.ResumeTiming();
        try {
            gameStore().writeAll(Section, SaveOfLevelOne);
        } catch (...) {
            ++failed;
        }
    }
    state.counters["failed"] = double(failed);
}

// Continue: the read of all four values, over a store of the given kind (a
// big one is not read, and answers as bad data).
void Continue(benchmark::State& state)
{
    const Folder folder;
    folder.make(int(state.range(0)));
    std::int64_t unreadable = 0;
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(gameStore().readAll(Section, SaveOfLevelOne));
        } catch (...) {
            ++unreadable;
        }
    }
    state.counters["unreadable"] = double(unreadable);
}

// A save at a death, in a config folder that holds this many other files
// beside the store (a desktop that never cleans up), after the first save of
// the run has been made.
void SaveAtADeath(benchmark::State& state)
{
    const Folder folder;
    folder.make(Ordinary);
    const QString config = QFileInfo(folder.store()).absolutePath();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        QFile other(config + QStringLiteral("/other-%1.conf").arg(i));
        if (!other.open(QIODevice::WriteOnly))
            std::abort();
    }
    gameStore().writeAll(Section, SaveOfLevelOne);
    int deaths = 0;
    for (auto _ : state) {
        ++deaths;
        gameStore().writeAll(Section,
                                 {{zw::savekey::Level, QStringLiteral("1")},
                                  {zw::savekey::Deaths, QString::number(deaths)},
                                  {zw::savekey::Sum, QString::number(deaths + 1)},
                                  {zw::savekey::Remainder, QStringLiteral("0")}});
    }
}

// A save at a death in a store of about this many bytes: the game's four
// lines after the player's notes, read and edited whole at every save.
void SaveAtADeathInAStoreOf(benchmark::State& state)
{
    const Folder folder;
    QByteArray notes = "[Notes]\n";
    for (int line = 0; notes.size() < state.range(0) - 48; ++line)
        notes += "note" + QByteArray::number(line) + "=\"some text\" of a note\n";
    QFile out(folder.store());
    if (!out.open(QIODevice::WriteOnly))
        std::abort();
    out.write(notes.left(std::max<qsizetype>(state.range(0) - 48, 8)) + "\n[SaveGame]\nSaw1=1\nSaw2=0\nSaw3=1\nSaw4=0\n");
    out.close();
    int deaths = 0;
    for (auto _ : state) {
        ++deaths;
        gameStore().writeAll(Section, {{zw::savekey::Level, QStringLiteral("1")},
                                       {zw::savekey::Deaths, QString::number(deaths)},
                                       {zw::savekey::Sum, QString::number(deaths + 1)},
                                       {zw::savekey::Remainder, QStringLiteral("0")}});
    }
    state.counters["bytes"] = double(QFileInfo(folder.store()).size());
}

} // namespace

BENCHMARK(FirstSave)->Arg(Ordinary)->Arg(TenMegabytes)->Arg(FiftyMegabytes)->Arg(Pipe)->Iterations(40)->Unit(benchmark::kMicrosecond);
BENCHMARK(Continue)->Arg(Ordinary)->Arg(TenMegabytes)->Arg(FiftyMegabytes)->Arg(Pipe)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveAtADeath)->Arg(0)->Arg(200000)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveAtADeathInAStoreOf)->Arg(100)->Arg(1 << 20)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
