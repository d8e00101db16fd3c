#pragma once
// One FluidSynth synthesiser with a General MIDI soundfont, the player of
// the background tune and the notes of the beep. It knows nothing of where
// the sound goes: the game attaches a sound card, the tests a file renderer.

#include "platform/sound/SoundfontTrim.h"

#include <QByteArray>
#include <QString>

#include <set>
#include <string>
#include <vector>

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

    // The whole soundfont.
    bool loadSoundfont(const QString& path);
    // Only the presets asked for (see SoundfontTrim.h), which saves FluidSynth
    // megabytes of descriptions of instruments the game never plays; the
    // whole soundfont when it cannot be cut.
    bool loadSoundfont(const QString& path, const std::vector<PresetRequest>& presets);
    // Loads the soundfont again with these presets added when a cut
    // soundfont lacks any of them. Only while no audio is being rendered.
    void usePresets(const std::vector<PresetRequest>& presets);
    // How many times a cut soundfont's file has been opened for reading, by
    // any synthesiser: loading it, and reading the samples of its presets.
    static int soundfontFileOpens();
    // How many presets the loaded cut soundfont holds; 0 for a whole one.
    int presetsKept() const { return presetsKept_; }

    // The preset the beep plays, for a soundfont cut to what the game plays.
    static PresetRequest beepPreset();

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
    // Pins every preset of the cut soundfont: all their samples are read
    // now, on the thread that loads the soundfont, and stay in memory, so an
    // instrument change in the tune finds its samples loaded and the audio
    // thread never reads the file. The cut soundfont holds only the presets
    // the game plays, so this is what playing would read anyway.
    void holdPresets();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    QString soundfontPath_;
    int soundfontId_ = -1;
    int presetsKept_ = 0;
    std::set<PresetRequest> presets_;
    // The names under which the cut soundfonts were handed to FluidSynth,
    // which reads them again for every instrument's samples.
    std::vector<std::string> trimmedNames_;
};

} // namespace zw::platform
