// The rules alone, without a window: one mouse event through all twelve rules
// (the colour queries, the actions they start, the cursor choice), and one
// tick of the frame timer. The view's repaint is not part of either.
//
// The mouse events are aimed at every key colour of every built-in picture:
// moves with no button, the left button and the right button held, and
// presses of the left and the right button. A left-button move or press on
// the quit item is left out: it ends the program, after which no rule runs.

#include "KeySpots.h"
#include "support/TestPlatform.h"

#include "game/Game.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using namespace zw;

struct MouseEvent {
    bool press;
    std::int16_t button;
    float x, y;
};

// One picture as the player meets it: shown in the window, its level
// current, the frame timer running and the frame resting where that
// picture puts it, and a shuffled series of events over its zones.
struct Scene {
    std::int16_t level;
    std::uint8_t frameMode; // 1 on the menu, 6 (the centre point) on the others
    std::vector<MouseEvent> events;
};

constexpr int SpotsPerColour = 8;

std::vector<Scene> scenes(PictureStore& store)
{
    std::mt19937 shuffle(2024);
    std::vector<Scene> all;
    for (std::int16_t level = 0; level < PictureStore::LevelCount; ++level) {
        Scene scene{level, static_cast<std::uint8_t>(level == 0 ? 1 : 6), {}};
        for (const bench::KeySpot& spot : bench::keySpots(store.Picture3(level), SpotsPerColour)) {
            const float x = static_cast<float>(spot.x) + 0.5f;
            const float y = static_cast<float>(spot.y) + 0.5f;
            for (std::int16_t held : {0, 1, 2}) {
                if (!(spot.colour == ColorQuit && held == 1))
                    scene.events.push_back({false, held, x, y});
            }
            for (std::int16_t pressed : {1, 2}) {
                if (!(spot.colour == ColorQuit && pressed == 1))
                    scene.events.push_back({true, pressed, x, y});
            }
        }
        std::shuffle(scene.events.begin(), scene.events.end(), shuffle);
        all.push_back(std::move(scene));
    }
    return all;
}

// A loaded game whose frame timer has started, as it is after the first hover.
struct LoadedGame {
    test::TestPlatform platform = quiet();
    Game game{platform};

    // Nothing reaches the disk, the sound or a browser, and nothing is
    // logged: the benchmark times the rules alone.
    static test::TestPlatform quiet()
    {
        test::TestPlatform platform;
        platform.storeIn = test::TestPlatform::Store::Nowhere;
        platform.recordCalls = false;
        platform.programDir = QStringLiteral("/nonexistent");
        return platform;
    }

    LoadedGame()
    {
        game.Form_Load();
        const bench::KeySpot item = bench::innerSpot(game.Form2().Picture3(0), ColorContinue);
        game.Form_MouseMove(0, 0, float(item.x), float(item.y));
    }

    void show(const Scene& scene)
    {
        platform.boxes.clear(); // the boxes of the last scene were answered
        game.controls().Picture = game.Form2().Picture3(scene.level);
        GameState& s = game.state();
        s.Running = False;
        s.Live = False;
    }
};

void BM_MouseEvent(benchmark::State& state)
{
    LoadedGame loaded;
    Game& game = loaded.game;
    const std::vector<Scene> all = scenes(game.Form2());
    std::size_t sceneIndex = 0, eventIndex = 0;
    loaded.show(all[0]);
    const std::uint64_t queriesBefore = game.colourQueries();

    for (auto _ : state) {
        const Scene& scene = all[sceneIndex];
        // Each event meets the picture's level and frame as the player would;
        // without ticks a level change would otherwise never finish.
        GameState& s = game.state();
        s.Level = scene.level;
        s.FrameMode = scene.frameMode;
        const MouseEvent& e = scene.events[eventIndex];
        if (e.press)
            game.Form_MouseDown(e.button, 0, e.x, e.y);
        else
            game.Form_MouseMove(e.button, 0, e.x, e.y);
        if (++eventIndex == scene.events.size()) {
            eventIndex = 0;
            sceneIndex = (sceneIndex + 1) % all.size();
            loaded.show(all[sceneIndex]);
        }
    }

    if (game.ended())
        state.SkipWithError("the game ended during the benchmark");
    std::size_t events = 0;
    for (const Scene& scene : all)
        events += scene.events.size();
    state.counters["events"] = static_cast<double>(events);
    state.counters["queries/event"] =
        static_cast<double>(game.colourQueries() - queriesBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MouseEvent)->Unit(benchmark::kNanosecond);

// The frame rests: every cycle ends with zero steps towards the same target.
void BM_TickStill(benchmark::State& state)
{
    LoadedGame loaded;
    Game& game = loaded.game;
    for (auto _ : state)
        game.Timer1_Timer();
    benchmark::DoNotOptimize(game.controls().Line);
}
BENCHMARK(BM_TickStill)->Unit(benchmark::kNanosecond);

// The frame never rests: before each cycle ends it is sent to the next of
// the menu items, out to the window edges (which swaps the picture) and to
// the centre point, so every tick moves the lines.
void BM_TickMoving(benchmark::State& state)
{
    LoadedGame loaded;
    Game& game = loaded.game;
    GameState& s = game.state();
    constexpr std::uint8_t modes[] = {2, 3, 5, 4, 6, 1};
    std::size_t next = 0;
    long long still = 0;
    for (auto _ : state) {
        if (s.Tick == 9.0f) {
            s.FrameMode = modes[next];
            next = (next + 1) % std::size(modes);
        }
        const float left = game.controls().Line1().X1, right = game.controls().Line4().X2;
        game.Timer1_Timer();
        still += left == game.controls().Line1().X1 && right == game.controls().Line4().X2 ? 1 : 0;
    }
    // Only the sweep's rest at the window edges may keep the frame in place.
    state.counters["still ticks"] = static_cast<double>(still) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TickMoving)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
