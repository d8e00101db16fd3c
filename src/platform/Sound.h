#pragma once
// The game's sound: the media commands for the background tune and the beep
// of a death, both through one FluidSynth synthesiser with the General MIDI
// soundfont that Debian installs. Everything slow (starting the synthesiser,
// loading the soundfont and the tune) happens on a worker thread, so the
// window never waits. Without an audio device, a soundfont or a readable
// tune the game is simply silent.

#include <QString>
#include <memory>

namespace zw::platform {

class Sound {
public:
    // programDirectory resolves bare file names in media commands, so the
    // tune that the game found beside the program is the tune that plays,
    // whatever the current directory.
    explicit Sound(const QString& programDirectory);
    ~Sound();

    // "Play music.mid" starts the named file in the background; "Stop music.mid"
    // stops it. Anything else is ignored. Never blocks, never fails.
    void mciExecute(const QString& command);

    // A short tone. Never blocks, never fails.
    void beep();

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace zw::platform
