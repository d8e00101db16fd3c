// Opening a player's twenty levels as a pack against opening the same levels
// as a folder: everything the game does before its window, reading, decoding,
// the rules, the key indices and (for the pack) the content hash.
//   bench_open FOLDER PACK.zigwalk [Google Benchmark options]
// Both must hold the same levels and pass the rules.

#include "app/LevelFolder.h"
#include "app/LevelPack.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

QString folder, pack;

// Opens the levels as the game does at start, over and over.
void openLevels(benchmark::State& state, zw::LevelFolder (*open)(const QString&, std::uint8_t), const QString& path)
{
    for (auto _ : state) {
        const zw::LevelFolder opened = open(path, 0);
        if (!opened.findings.isEmpty())
            state.SkipWithError("the levels are refused");
        benchmark::DoNotOptimize(opened.mazes);
    }
}


} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_open FOLDER PACK.zigwalk [benchmark options]\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    pack = QString::fromLocal8Bit(argv[2]);
    argv[2] = argv[0];
    argc -= 2;
    argv += 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the picture readers are Qt's plugins
    benchmark::RegisterBenchmark("openFolder", openLevels, zw::openLevelFolder, folder)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("openPack", openLevels, zw::openLevelPack, pack)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
