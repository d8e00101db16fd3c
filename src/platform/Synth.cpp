#include "platform/Synth.h"

#include "platform/FluidLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <dlfcn.h>
#include <mutex>

namespace zw::platform {

namespace {

// The beep: a high square-wave lead note, short and unmistakable.
constexpr int BeepProgram = 80; // General MIDI "Lead 1 (square)", counted from 0
constexpr int BeepKey = 84;     // C6
constexpr int BeepVelocity = 110;

// TimGM6mb loads in a blink; FluidR3 sounds richer but takes a second or two.
// default-GM.sf2 is whatever the system chose as its General MIDI set.
const QStringList soundfontCandidates = {
    QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
    QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
    QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
};

// A game has no console to talk to: a missing sound card or a broken tune
// just means silence, not messages on the terminal.
// ALSA's own handler prints to the terminal; this one drops the message.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void quietFluidSynth(const FluidLibrary& fluid)
{
    static std::once_flag once;
    std::call_once(once, [&fluid] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid.fluid_set_log_function(level, nullptr, nullptr);
        // FluidSynth brought ALSA in with it. On a machine without a sound
        // card ALSA would fill the terminal with complaints at the first
        // sound; the game is silent there by design, so they are dropped.
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD)) {
            if (auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
                setHandler(&ignoreAlsaMessage);
            dlclose(alsa); // NOLOAD only borrowed it; FluidSynth keeps it loaded
        }
    });
}

// Only called once a FluidSynth object exists, which means the library is there.
const FluidLibrary& fluid()
{
    return *fluidLibrary();
}

} // namespace

QString findSoundfont()
{
    for (const QString& path : soundfontCandidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

Synth::Synth()
{
    const FluidLibrary* library = fluidLibrary();
    if (!library)
        return; // not installed: a synthesiser that plays nothing
    quietFluidSynth(*library);
    settings_ = library->new_fluid_settings();
    if (!settings_)
        return;
    // Only the samples of the instruments that are selected are read from
    // the soundfont (the beep's and those the tune uses), not the whole set:
    // a few hundred kilobytes instead of several megabytes.
    library->fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    // A small tune and a beep never need FluidSynth's 256 voices; every
    // voice holds its own buffers (about 2.4 MB of memory for the 192 spared).
    library->fluid_settings_setint(settings_, "synth.polyphony", 64);
    // The sound server asks for one block at a time: 512 frames, under 12 ms,
    // keeps a beep close to the touch without waking the audio thread more
    // often than a busy machine can keep up with. ALSA queues periods x size.
    library->fluid_settings_setint(settings_, "audio.period-size", 512);
    library->fluid_settings_setint(settings_, "audio.periods", 3);
    synth_ = library->new_fluid_synth(settings_);
    if (synth_)
        library->fluid_synth_set_gain(synth_, 0.6f);
}

Synth::~Synth()
{
    if (player_)
        fluid().delete_fluid_player(player_);
    if (synth_)
        fluid().delete_fluid_synth(synth_);
    if (settings_)
        fluid().delete_fluid_settings(settings_);
}

bool Synth::loadSoundfont(const QString& path)
{
    if (!synth_ || path.isEmpty())
        return false;
    return fluid().fluid_synth_sfload(synth_, QFile::encodeName(path).constData(), 1) != FLUID_FAILED;
}

bool Synth::loadTune(const QByteArray& midi)
{
    if (player_) {
        fluid().delete_fluid_player(player_);
        player_ = nullptr;
    }
    if (!synth_ || midi.isEmpty())
        return false;
    player_ = fluid().new_fluid_player(synth_);
    if (!player_)
        return false;
    // The player keeps its own copy of the bytes.
    if (fluid().fluid_player_add_mem(player_, midi.constData(), size_t(midi.size())) != FLUID_OK) {
        fluid().delete_fluid_player(player_);
        player_ = nullptr;
        return false;
    }
    return true;
}

void Synth::startTune()
{
    if (player_)
        fluid().fluid_player_play(player_);
}

void Synth::stopTune()
{
    if (!player_)
        return;
    fluid().fluid_player_stop(player_);
    for (int channel = 0; channel < fluid().fluid_synth_count_midi_channels(synth_); ++channel) {
        if (channel != BeepChannel)
            fluid().fluid_synth_all_sounds_off(synth_, channel);
    }
}

bool Synth::tunePlaying() const
{
    return player_ && fluid().fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

void Synth::prepareBeep()
{
    if (synth_)
        fluid().fluid_synth_program_change(synth_, BeepChannel, BeepProgram);
}

void Synth::beepOn()
{
    if (!synth_)
        return;
    fluid().fluid_synth_noteoff(synth_, BeepChannel, BeepKey);
    // A tune that starts resets all channels, so the instrument is checked
    // every time; it is changed only when it is not the beep's, because a
    // change drops the instrument's samples and reads them in again.
    int soundfont = 0;
    int bank = 0;
    int program = -1;
    if (fluid().fluid_synth_get_program(synth_, BeepChannel, &soundfont, &bank, &program) != FLUID_OK
        || program != BeepProgram)
        fluid().fluid_synth_program_change(synth_, BeepChannel, BeepProgram);
    fluid().fluid_synth_noteon(synth_, BeepChannel, BeepKey, BeepVelocity);
}

void Synth::beepOff()
{
    if (synth_)
        fluid().fluid_synth_noteoff(synth_, BeepChannel, BeepKey);
}

} // namespace zw::platform
