// Saves the game's four values from a process of its own, for the tests that
// need a process to die mid-save or a store read afresh:
//   save_loop loop        saves consistent sets, one after another, until killed;
//                         each set has one death more than the one stored before
//   save_loop save L D    saves level L with D deaths once
//   save_loop print       prints every key as "Saw1=7", or "Saw1 missing"
// The store is wherever XDG_CONFIG_HOME says, as for the game.

#include "SaveSet.h"
#include "base/RuntimeError.h"
#include "GameStore.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using zw::platform::SettingsStore;
using zw::test::gameStore;
using namespace zw::test;

namespace {

const QString Missing = QStringLiteral("\x01missing");

int loop()
{
    SettingsStore store = gameStore();
    int deaths = store.readAll(SaveSection, {{SaveKeys[1], QStringLiteral("0")}}).front().toInt();
    for (bool first = true;; first = false) {
        ++deaths;
        store.writeAll(SaveSection, saveSet(deaths % 20 + 1, deaths));
        if (first) {
            // The test's kills are timed from here, however slowly the
            // process started on a busy machine.
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}

int print()
{
    // One look at the store for all four, as a continue reads them.
    zw::platform::KeyTexts keys;
    for (const QString& key : SaveKeys)
        keys.push_back({key, Missing});
    const std::vector<QString> values = gameStore().readAll(SaveSection, keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString& key = keys[i].first;
        const QString& value = values[i];
        if (value == Missing)
            std::printf("%s missing\n", qPrintable(key));
        else
            std::printf("%s=%s\n", qPrintable(key), qPrintable(value));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && std::strcmp(argv[1], "loop") == 0)
            return loop();
        if (argc == 2 && std::strcmp(argv[1], "print") == 0)
            return print();
        if (argc == 4 && std::strcmp(argv[1], "save") == 0) {
            gameStore().writeAll(SaveSection, saveSet(std::atoi(argv[2]), std::atoi(argv[3])));
            return 0;
        }
    } catch (const zw::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 75;
    }
    std::fprintf(stderr, "usage: save_loop loop | save LEVEL DEATHS | print\n");
    return 2;
}
