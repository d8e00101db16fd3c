// A program that owns a Sound and returns from main while the sound server
// hangs, for the sound test of a server stopped at the wrong moment. The
// test drives it line by line:
//   it prints "playing" once the tune is asked for, and waits for a line;
//   it closes the sound, prints "closed after <ms>", and returns from main;
//   after every static object is gone it prints "statics gone", waits for a
//   line (the test resumes the server meanwhile), gives a worker that was
//   left behind time to run, and ends.
// argv[1] is the folder with music.mid.

#include "platform/sound/Sound.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

// Plain system calls: the C++ streams are among the statics that are gone.
void say(const std::string& line)
{
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
}

void awaitLine()
{
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n') {
    }
}

// Runs after the static destructors of exit(), which are registered at
// start-up with __cxa_atexit and run before the program's destructor list.
__attribute__((destructor)) void afterStatics()
{
    say("statics gone");
    awaitLine();
    std::this_thread::sleep_for(std::chrono::seconds(2));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::chrono::steady_clock::time_point closing;
    {
        zw::platform::Sound sound(QString::fromLocal8Bit(argv[1]));
        sound.setUpNow();
        sound.mciExecute(QStringLiteral("Play music.mid"));
        say("playing");
        awaitLine();
        closing = std::chrono::steady_clock::now();
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closing);
    say("closed after " + std::to_string(waited.count()));
    return 0;
}
