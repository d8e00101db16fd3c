// A program that owns a Sound and returns from main while the sound server
// hangs, for the sound test of a server stopped at the wrong moment. The
// test drives it line by line:
//   it prints "playing" once the tune is asked for, and waits for a line;
//   it closes the sound, prints "closed after <ms>", and returns from main;
//   after every static object is gone it prints "statics gone", waits for a
//   line (the test resumes the server meanwhile), waits until the worker that
//   was left behind has come back from the server and gone to sleep for
//   good, and ends.
// argv[1] is the folder with music.mid.

#include "platform/sound/Sound.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
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

// Whether a thread of this process sleeps in pause(), where a worker that
// was left behind ends up once it is back from the sound server.
bool aThreadPauses()
{
#ifdef SYS_pause
    const std::string paused = std::to_string(SYS_pause) + " ";
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return false;
    bool found = false;
    while (const dirent* task = readdir(tasks)) {
        const std::string path = std::string("/proc/self/task/") + task->d_name + "/syscall";
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        char text[32] = {};
        const ssize_t got = read(fd, text, sizeof text - 1);
        close(fd);
        found = found || (got > 0 && std::string(text, std::size_t(got)).rfind(paused, 0) == 0);
    }
    closedir(tasks);
    return found;
#else
    return false; // no pause system call here: the wait below runs out
#endif
}

// Runs after the static destructors of exit(), which are registered at
// start-up with __cxa_atexit and run before the program's destructor list.
__attribute__((destructor)) void afterStatics()
{
    say("statics gone");
    awaitLine();
    // Anything the worker would touch on its way back, it touches before it
    // pauses; a worker that never pauses is given 10 s at most.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!aThreadPauses() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // asks again
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
