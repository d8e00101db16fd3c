// The real rules, pictures, settings store and sound, without the window,
// in a process of its own: for the tests that kill it mid-save, lock its
// store, or start it in odd surroundings.
//
//   scripted_game play [--seed N] [--rounds N] [--locale NAME] [--fsize-limit BYTES]
//       Plays purposeful games that save every few moves. Prints
//       "saving L D S R" before every write and "saved" or "failed" after
//       it, and at the end "done" with what happened (music: MusicOn after
//       start-up; decimal: the decimal separator in use). --rounds 0 plays
//       until killed.
//   scripted_game load [--locale NAME]
//       A new start that continues at once: prints what the store holds
//       ("Saw1=7" or "Saw1 missing"), then "accepted LEVEL DEATHS" (exit 0)
//       or "rejected" with the styles of the load's boxes (exit 1).
//   scripted_game seed LEVEL DEATHS
//       Stores the set a game on that level with those deaths would save.
//
// The store is wherever XDG_CONFIG_HOME (or HOME) says, as for the game.
// Exit 3: an invariant broke; exit 4: a run-time error; exit 2: bad usage.

#include "BuiltInPictures.h"
#include "Invariants.h"
#include "ScriptedPlayer.h"
#include "support/TestPlatform.h"

#include "game/Numbers.h"
#include "base/RuntimeError.h"
#include "platform/store/SettingsStore.h"
#include "platform/store/StorePath.h"
#include "platform/sound/Sound.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace zw;
using namespace zw::reliability;
using zw::test::SavedValues;
using zw::test::TestPlatform;

namespace {

const QString App = QStringLiteral("Zigwalk_Korvel");
const QString Section = QStringLiteral("SaveGame");
const QString Missing = QStringLiteral("\x01missing");

// Straight to the descriptor, so that a parent reading the pipe has every
// line written before a kill.
void say(const std::string& line)
{
    const std::string text = line + "\n";
    (void)!::write(STDOUT_FILENO, text.data(), text.size());
}

struct Options {
    QString mode;
    std::uint64_t seed = 1;
    long rounds = 2000;
    QString locale;
    long fsizeLimit = -1;
    QStringList rest;
};

bool parse(const QStringList& args, Options& options)
{
    if (args.size() < 2)
        return false;
    options.mode = args[1];
    for (int i = 2; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--seed") && hasValue)
            options.seed = args[++i].toULongLong();
        else if (arg == QLatin1String("--rounds") && hasValue)
            options.rounds = args[++i].toLong();
        else if (arg == QLatin1String("--locale") && hasValue)
            options.locale = args[++i];
        else if (arg == QLatin1String("--fsize-limit") && hasValue)
            options.fsizeLimit = args[++i].toLong();
        else
            options.rest << arg;
    }
    return true;
}

std::string values(const SavedValues& set)
{
    std::string out;
    for (const auto& [key, text] : set)
        out += " " + text.toStdString();
    return out;
}

int play(const Options& options)
{
    platform::Sound sound(QCoreApplication::applicationDirPath());
    TestPlatform platform;
    platform.useThisMachine();
    platform.programDir = QCoreApplication::applicationDirPath();
    platform.recordCalls = false; // a run lasts until it is killed
    platform.onBeep = [&sound] { sound.beep(); };
    platform.onMediaCommand = [&sound](const QString& command) { sound.mciExecute(command); };
    platform.beforeSave = [](const SavedValues& set) { say("saving" + values(set)); };
    platform.afterSave = [](const SavedValues&, bool written) { say(written ? "saved" : "failed"); };

    const std::unique_ptr<Game> game = gameOn(platform, builtInPictures());
    SeededChoices choices(options.seed);
    ScriptedPlayer player(*game, builtInAtlas(), choices);
    game->Form_Load();
    const int musicAtStart = game->state().MusicOn;
    int highest = 0;
    for (long round = 0; options.rounds == 0 || round < options.rounds; ++round) {
        // Now and then the music goes off and on and the language changes,
        // so that the sound and both languages' texts are in play too.
        if (round % 50 == 49)
            game->Label2_Click();
        if (round % 70 == 69)
            game->Label1_Click();
        player.playRound();
        if (const auto broken = brokenInvariant(*game)) {
            say("invariant: " + *broken);
            return 3;
        }
        highest = std::max(highest, int(game->state().Level));
    }
    game->Form_Unload();

    int saveBoxes = 0, badDataBoxes = 0;
    for (const auto& box : platform.boxes) {
        saveBoxes += box.style == 16;
        badDataBoxes += box.style == 0 && box.prompt == QStringLiteral("chyba při načítání, chybná data");
    }
    say("done saves=" + std::to_string(platform.saves) + " failed=" + std::to_string(platform.failedSaves)
        + " boxes=" + std::to_string(platform.boxes.size()) + " saveboxes=" + std::to_string(saveBoxes)
        + " baddata=" + std::to_string(badDataBoxes)
        + " deaths=" + std::to_string(platform.beeps) + " highest=" + std::to_string(highest)
        + " music=" + std::to_string(musicAtStart) + " decimal=" + QString(QLocale().decimalPoint()).toStdString());
    return 0;
}

int load()
{
    const platform::SettingsStore store(platform::storePathOf(App));
    for (int i = 1; i <= 4; ++i) {
        const QString key = QStringLiteral("Saw%1").arg(i);
        const QString value = store.readAll(Section, {{key, Missing}}).front();
        say(key.toStdString() + (value == Missing ? std::string(" missing") : "=" + value.toStdString()));
    }

    TestPlatform platform;
    platform.useThisMachine();
    const std::unique_ptr<Game> game = gameOn(platform, builtInPictures());
    SeededChoices choices(1);
    ScriptedPlayer player(*game, builtInAtlas(), choices);
    game->Form_Load();
    player.continueGame();
    // The level change that ends a load saves again; on a full disk that
    // save fails with a box of its own, which says nothing about the load.
    std::string loadBoxes;
    for (const auto& box : platform.boxes)
        if (box.style != 16)
            loadBoxes += " " + std::to_string(box.style);
    if (platform.failedSaves > 0)
        say("the save after the load failed");
    if (loadBoxes.empty()) {
        say("accepted " + num::toText(game->state().Level).toStdString() + " "
            + num::toText(game->state().Deaths).toStdString());
        return 0;
    }
    say("rejected" + loadBoxes);
    return 1;
}

int seed(const QStringList& args)
{
    if (args.size() != 2)
        return 2;
    const float level = args[0].toFloat(), deaths = args[1].toFloat();
    platform::SettingsStore(platform::storePathOf(App)).writeAll(Section,
        {{QStringLiteral("Saw1"), num::toText(level)},
         {QStringLiteral("Saw2"), num::toText(deaths)},
         {QStringLiteral("Saw3"), num::toText(level + deaths)},
         {QStringLiteral("Saw4"), num::toText(float(num::mod(num::toInt32(deaths), num::toInt32(level))))}});
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        say("usage: scripted_game play|load|seed ...");
        return 2;
    }
    if (options.fsizeLimit >= 0) {
        // A disk that takes no more than this: writes beyond it fail instead
        // of killing the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(options.fsizeLimit), rlim_t(options.fsizeLimit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (!options.locale.isEmpty())
        QLocale::setDefault(QLocale(options.locale));

    try {
        if (options.mode == QLatin1String("play"))
            return play(options);
        if (options.mode == QLatin1String("load"))
            return load();
        if (options.mode == QLatin1String("seed"))
            return seed(options.rest);
    } catch (const RuntimeError& error) {
        say(std::string("run-time error: ") + error.what());
        return 4;
    }
    say("usage: scripted_game play|load|seed ...");
    return 2;
}
