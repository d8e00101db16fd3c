#pragma once
// One FluidSynth synthesiser with a General MIDI soundfont, the player of
// the background tune and the notes of the beep. It knows nothing of where
// the sound goes: the game attaches a sound card, the tests a file renderer.

#include <QByteArray>
#include <QString>

#include <fluidsynth.h>

namespace zw::platform {

// The first General MIDI soundfont that is installed, or empty when there is none.
QString findSoundfont();

class Synth {
public:
    // The beep plays on the last MIDI channel, which tunes rarely use, so a
    // death does not change the instrument of a tune that is playing.
    static constexpr int BeepChannel = 15;

    // Without the library, or when FluidSynth cannot make a synthesiser, the
    // object is inert: ready() is false and every call does nothing.
    Synth();
    ~Synth();
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    bool ready() const { return synth_ != nullptr; }
    fluid_settings_t* settings() const { return settings_; }
    fluid_synth_t* synth() const { return synth_; }

    bool loadSoundfont(const QString& path);

    // Takes a new tune, ready to start, and drops the old one. FluidSynth
    // allows replacing the player only while no audio is being rendered.
    bool loadTune(const QByteArray& midi);
    // Plays the loaded tune once from its beginning.
    void startTune();
    // Stops the tune and silences what it left sounding; safe while audio runs.
    void stopTune();
    bool tunePlaying() const;

    // Selects the beep's instrument on its channel, so that its samples are
    // in memory before the first death rather than loaded by it.
    void prepareBeep();
    void beepOn();
    void beepOff();

private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
};

} // namespace zw::platform
