#pragma once
// The game's sound: the media commands for the background tune and the beep
// of a death, both through one FluidSynth synthesiser with the General MIDI
// soundfont that Debian installs. Everything slow (opening the library,
// starting the synthesiser, loading the soundfont and the tune, connecting
// to the sound server) happens on a worker thread, so the window never
// waits. Without the library, a soundfont, a sound server or card, or a
// readable tune the game is simply silent; a play command looks for the
// sound server again, so one that went away or came late is used again.

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

    // The window is on screen: the worker sets up the synthesiser now rather
    // than when the first sound is wanted, so the tune starts at once and the
    // first beep is as prompt as the others. Never blocks.
    void setUpNow();

    // Whether the worker has carried out every command given so far, so a
    // test can wait for it rather than guess how long it takes.
    bool caughtUp() const;

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace zw::platform
