// The game's sound as the window uses it. The test machine has no sound
// card: every command must be taken without complaint, and the sound must
// close down completely, leaving no thread behind, however it was used.

#include "ConfigHome.h"
#include "TinyTune.h"
#include "platform/sound/Sound.h"

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace zw::test {
namespace {

using platform::Sound;

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// A joined thread leaves the process list a moment after the join returns.
int threadCountSettled(int expected)
{
    int count = threadCount();
    for (int i = 0; i < 200 && count != expected; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        count = threadCount();
    }
    return count;
}

// Waits until the worker has carried out every command so far; whether it
// did within a generous while. Before that it sets itself up, which takes
// a moment on a quiet machine and much longer under a sanitizer.
bool caughtUp(const Sound& sound)
{
    for (int i = 0; i < 3000 && !sound.caughtUp(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // asks again
    return sound.caughtUp();
}

struct Use {
    const char* name;
    QByteArray musicFile; // beside the program; empty: no file
    void (*drive)(Sound&);
};

std::ostream& operator<<(std::ostream& out, const Use& use)
{
    return out << use.name;
}

class SoundTest : public ::testing::TestWithParam<Use> {};

TEST_P(SoundTest, TakesEveryCommandAndClosesDownCompletely)
{
    QTemporaryDir programDir;
    if (!GetParam().musicFile.isEmpty())
        writeBytes(programDir.filePath("music.mid"), GetParam().musicFile);

    // A thread sanitizer starts a helper thread of its own with the first
    // thread of the process; it must be there before the count.
    std::thread([] {}).join();
    const int before = threadCount();
    {
        Sound sound(programDir.path());
        GetParam().drive(sound);
    }
    EXPECT_EQ(threadCountSettled(before), before);
}

void gameSession(Sound& sound)
{
    sound.mciExecute("Play music.mid");
    sound.beep();
    sound.mciExecute("Stop music.mid");
    sound.mciExecute("Play music.mid");
    // The worker gets to the commands before the sound is closed.
    EXPECT_TRUE(caughtUp(sound)) << "the worker never carried out the commands";
    sound.beep();
    sound.mciExecute("Stop music.mid");
}

void closedAtOnce(Sound&) {}

void burst(Sound& sound)
{
    for (int i = 0; i < 200; ++i) {
        sound.beep();
        sound.mciExecute(i % 2 ? "Stop music.mid" : "Play music.mid");
    }
}

void strangeCommands(Sound& sound)
{
    for (const char* command : {"", "Play", "Pause music.mid", "Play /nonexistent/music.mid",
                                "Stop nothing.mid", "Play \"\"", "Play /proc/self/mem"})
        sound.mciExecute(command);
    EXPECT_TRUE(caughtUp(sound)) << "the worker never carried out the commands";
}

INSTANTIATE_TEST_SUITE_P(
    Uses, SoundTest,
    ::testing::Values(Use{"ATuneBesideTheProgram", tinyTune(), gameSession},
                      Use{"NoTune", {}, gameSession},
                      Use{"AGarbageTune", QByteArray(5000, '\x5A'), gameSession},
                      Use{"AJunkTuneWithAMidiHeader", tinyTune().left(14) + QByteArray(500, '\xFF'), gameSession},
                      Use{"ClosedRightAfterOpening", tinyTune(), closedAtOnce},
                      Use{"ABurstOfCommands", tinyTune(), burst},
                      Use{"StrangeCommands", tinyTune(), strangeCommands}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::test
