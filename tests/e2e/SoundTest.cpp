// The game's sound as a player hears it: the real program on its own X
// display, playing through its own PulseAudio server into a null sink whose
// monitor the test records. The tune, the deaths line that switches it, the
// beep of a death, and a sound server that goes away in the middle of a game.

#include "PlaySteps.h"
#include "SoundServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <iostream>

#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

using namespace std::chrono_literals;

// A quiet run hears a sound within about half a second of asking for it,
// and silence returns within about 0.3 s: every time limit below is many
// times that, so a busy machine passes too.
constexpr int HearTimeoutMs = 10000;
constexpr int QuietTimeoutMs = 5000;

// Waits until the last 300 ms were silent, up to QuietTimeoutMs; whether they were.
bool quietAgain(Recording& monitor)
{
    const auto until = SoundClock::now() + std::chrono::milliseconds(QuietTimeoutMs);
    while (SoundClock::now() < until) {
        const auto now = SoundClock::now();
        if (monitor.level(now - 300ms, now) < Silent)
            return true;
        QThread::msleep(50);
    }
    return false;
}

// The loudness of what was heard from `from` on for a while, for the record.
double levelFrom(Recording& monitor, SoundClock::time_point from, std::chrono::milliseconds length)
{
    while (SoundClock::now() < from + length + 100ms)
        QThread::msleep(20);
    return monitor.level(from, from + length);
}

// Whether the process is stopped by a signal (state T in /proc/<pid>/stat).
bool stopped(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype afterName = text.lastIndexOf(')'); // the name may hold spaces
    return afterName >= 0 && text.mid(afterName + 2, 1) == "T";
}

class GameSound : public PlayingTest {
protected:
    void SetUp() override
    {
        PlayingTest::SetUp();
        if (IsSkipped())
            return;
        const QStringList missing = missingSoundTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.join(QStringLiteral(", ")).toStdString();
        ASSERT_TRUE(x.started()) << "Xvfb did not start";
    }

    // The program copied alone into a folder of its own: a game without a tune.
    QStringList gameWithoutTune()
    {
        const QString copy = alone_.filePath(QStringLiteral("zigwalk"));
        if (!QFile::exists(copy))
            QFile::copy(gameProgram(), copy);
        return {copy};
    }

    // Lets the recording run on: a claim about a second of tune or of silence
    // needs that second recorded. A window of listening, not a wait for an event.
    static void listenFor(int ms) { QThread::msleep(ms); }

    GameHome home;

private:
    QTemporaryDir alone_;
};

TEST_F(GameSound, TheTunePlaysFromTheStartAndTheDeathsLineSwitchesItOffAndOn)
{
    SoundServer server(home.path());
    ASSERT_TRUE(server.started()) << "PulseAudio did not start";
    Recording monitor(server);
    ASSERT_TRUE(monitor.started()) << "nothing recorded from the sink's monitor";

    const auto launched = SoundClock::now();
    RunningGame game(x, home);
    ASSERT_TRUE(menuShown()) << "the menu did not show";
    ASSERT_TRUE(monitor.heardAfter(launched, Audible, HearTimeoutMs)) << "the tune was not heard";

    // Playing for a second, then a click on the deaths line: silence, and
    // the silence holds.
    listenFor(1000);
    const auto beforeOff = SoundClock::now();
    const double playing = monitor.level(beforeOff - 1s, beforeOff);
    std::cout << "tune level " << playing << "\n";
    EXPECT_GT(playing, Audible) << "the tune was not playing before the click";
    clickDeathsLine();
    const auto off = SoundClock::now();
    // A quiet run falls silent some 0.1 s after the click; the second from
    // 1 s to 2 s after it must be silent.
    listenFor(2200);
    const double after = monitor.level(off + 1000ms, off + 2000ms);
    std::cout << "level after the click " << after << "\n";
    EXPECT_LT(after, Silent) << "still playing after the click";

    // The next click brings it back.
    clickDeathsLine();
    const auto on = SoundClock::now();
    EXPECT_TRUE(monitor.heardAfter(on, Audible, HearTimeoutMs)) << "the tune did not come back";
    EXPECT_TRUE(game.alive());
}

// Relative XDG folders are no folders to the game, nor to the sound library
// under it: a game started with them from some folder plays its tune, saves
// in the player's home, and leaves the folder it was started from as it was.
TEST_F(GameSound, RelativeXdgFoldersLeaveTheCurrentFolderAlone)
{
    SoundServer server(home.path());
    ASSERT_TRUE(server.started()) << "PulseAudio did not start";
    Recording monitor(server);
    ASSERT_TRUE(monitor.started()) << "nothing recorded from the sink's monitor";

    QTemporaryDir startedIn;
    QProcessEnvironment relative;
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        relative.insert(QString::fromLatin1(name), QStringLiteral("rel/") + QString::fromLatin1(name));
    // The server found by its address, as no runtime folder leads to it now.
    relative.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + home.path() + QStringLiteral("/pulse/native"));

    const auto launched = SoundClock::now();
    RunningGame game(x, home, {gameProgram()}, relative, startedIn.path());
    ASSERT_TRUE(menuShown()) << "the menu did not show";
    ASSERT_TRUE(monitor.heardAfter(launched, Audible, HearTimeoutMs)) << "the tune was not heard";
    ASSERT_TRUE(newGame()) << "level 1 did not show";
    ASSERT_TRUE(dieOn(1)) << "the death was not counted";
    ASSERT_TRUE(quitFromLevel(1, game));

    EXPECT_EQ(QDir(startedIn.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{})
        << "something was made under the folder the game was started from";
    QFile storeFile(home.path() + QStringLiteral("/.config/Zigwalk_Korvel.conf"));
    ASSERT_TRUE(storeFile.open(QIODevice::ReadOnly)) << "no save in the home";
    const QByteArray store = storeFile.readAll();
    // The death's save, made as the death is about to be counted.
    EXPECT_EQ(store, "[SaveGame]\nSaw1=1\nSaw2=0\nSaw3=1\nSaw4=0\n");
}

TEST_F(GameSound, EveryDeathBeepsInAGameWithoutATune)
{
    SoundServer server(home.path());
    ASSERT_TRUE(server.started()) << "PulseAudio did not start";
    Recording monitor(server);
    ASSERT_TRUE(monitor.started()) << "nothing recorded from the sink's monitor";

    const auto launched = SoundClock::now();
    RunningGame game(x, home, gameWithoutTune());
    ASSERT_TRUE(menuShown()) << "the menu did not show";
    ASSERT_TRUE(newGame()) << "level 1 did not show";

    EXPECT_LT(monitor.level(launched, SoundClock::now()), Silent) << "sound before the first death";
    for (int death = 1; death <= 3; ++death) {
        // The beep before dies away (its echo takes some 0.3 s in a quiet run).
        ASSERT_TRUE(quietAgain(monitor)) << "no silence before death " << death;
        const auto before = SoundClock::now();
        ASSERT_TRUE(dieOn(1)) << "death " << death << " was not counted";
        const auto heard = monitor.heardAfter(before, Audible, HearTimeoutMs);
        EXPECT_TRUE(heard) << "death " << death << " did not beep";
        if (heard) {
            std::cout << "death " << death << ": beep after "
                      << std::chrono::duration_cast<std::chrono::milliseconds>(*heard - before).count()
                      << " ms, level " << levelFrom(monitor, *heard, 100ms) << "\n";
        }
    }
    EXPECT_TRUE(game.alive());
}

TEST_F(GameSound, TheGamePlaysOnWhenTheServerStopsAndPlaysOnTheNextServer)
{
    auto server = std::make_unique<SoundServer>(home.path());
    ASSERT_TRUE(server->started()) << "PulseAudio did not start";
    auto monitor = std::make_unique<Recording>(*server);
    ASSERT_TRUE(monitor->started()) << "nothing recorded from the sink's monitor";

    const auto launched = SoundClock::now();
    RunningGame game(x, home);
    ASSERT_TRUE(menuShown()) << "the menu did not show";
    ASSERT_TRUE(monitor->heardAfter(launched, Audible, HearTimeoutMs)) << "the tune was not heard";

    monitor.reset();
    server->stop();

    // A level won and a death, with nowhere for the sound to go.
    ASSERT_TRUE(newGame()) << "level 1 did not show";
    ASSERT_TRUE(walkToGoal(1)) << "level 2 did not show";
    ASSERT_TRUE(dieOn(2)) << "the death was not counted";
    ASSERT_TRUE(game.alive()) << "the game ended without its server";

    // A new server in the same place; switching the music off and on plays
    // the tune through it.
    server = std::make_unique<SoundServer>(home.path());
    ASSERT_TRUE(server->started()) << "the second PulseAudio did not start";
    monitor = std::make_unique<Recording>(*server);
    ASSERT_TRUE(monitor->started()) << "nothing recorded from the second server";
    clickDeathsLine();
    clickDeathsLine();
    const auto on = SoundClock::now();
    EXPECT_TRUE(monitor->heardAfter(on, Audible, HearTimeoutMs)) << "the tune did not play on the new server";
    EXPECT_TRUE(quitFromLevel(2, game)) << "the game did not end cleanly";
}

// A program that owns the sound and ends while the sound server is stopped
// (SIGSTOP): closing the sound gives up after its wait, the program returns
// from main and its static objects are destroyed, and only then is the server
// resumed. The worker that was left behind must touch nothing of what is
// gone; under the address sanitizer any such touch ends the program with a
// report and a failure code.
TEST_F(GameSound, ASoundLeftBehindOnAStoppedServerTouchesNothingWhileTheProgramEnds)
{
    SoundServer server(home.path());
    ASSERT_TRUE(server.started()) << "PulseAudio did not start";
    Recording monitor(server);
    ASSERT_TRUE(monitor.started()) << "nothing recorded from the sink's monitor";
    QTemporaryDir programDir;
    ASSERT_TRUE(QFile::copy(QFileInfo(gameProgram()).dir().filePath(QStringLiteral("music.mid")),
                            programDir.filePath(QStringLiteral("music.mid"))));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.insert(QStringLiteral("PULSE_SERVER"), server.address());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SOUND_TEARDOWN_PATH), {programDir.path()});
    ASSERT_TRUE(program.waitForStarted(5000));
    const auto readLine = [&program](int timeoutMs) {
        while (!program.canReadLine() && program.waitForReadyRead(timeoutMs)) {
        }
        return QString::fromUtf8(program.readLine()).trimmed();
    };

    const auto launched = SoundClock::now();
    ASSERT_EQ(readLine(10000), QStringLiteral("playing"));
    ASSERT_TRUE(monitor.heardAfter(launched, Audible, HearTimeoutMs)) << "the tune was not heard";

    ::kill(pid_t(server.pid()), SIGSTOP);
    // What the program sends from now on stays in its own buffers.
    ASSERT_TRUE(waitUntil([&] { return stopped(server.pid()); }, StepTimeoutMs)) << "the server did not stop";
    program.write("close\n");
    const QString closed = readLine(10000);
    ASSERT_TRUE(closed.startsWith(QStringLiteral("closed after "))) << closed.toStdString();
    const int waitedMs = closed.mid(13).toInt();
    EXPECT_GE(waitedMs, 1000) << "the sound did not wait on the stopped server: nothing was tested";
    EXPECT_LE(waitedMs, 2500) << "closing the sound waited too long";
    ASSERT_EQ(readLine(10000), QStringLiteral("statics gone"));

    ::kill(pid_t(server.pid()), SIGCONT);
    program.write("resumed\n");
    ASSERT_TRUE(program.waitForFinished(20000)) << "the program did not end";
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("Sanitizer"))) << errors.toStdString();
}

} // namespace
} // namespace zw::e2e
