#include "platform/sound/Synth.h"

#include "platform/sound/FluidLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include <dlfcn.h>

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

// ---- Cut soundfonts, as files FluidSynth reads -----------------------------
// FluidSynth opens a soundfont by name through its loader's file functions,
// once to read the preset list and again whenever an instrument's samples
// are needed. A cut soundfont is handed over under a name of its own; these
// functions serve that name from the pieces of the cut soundfont, whose
// sample data is read from the real file.

// The cut soundfonts by the names FluidSynth knows them by. Made once and
// never destroyed: a synthesiser may still be let go of while the process
// ends, after static objects are gone.
struct TrimmedFiles {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const TrimmedSoundfont>> byName;
};
TrimmedFiles& trimmedFiles()
{
    static TrimmedFiles* const files = new TrimmedFiles;
    return *files;
}
std::atomic<int> trimmedCount{0};
std::atomic<int> trimmedOpens{0};

struct TrimmedHandle {
    std::shared_ptr<const TrimmedSoundfont> soundfont;
    std::FILE* file = nullptr;
    qint64 position = 0;
};

void* openTrimmed(const char* name)
{
    std::shared_ptr<const TrimmedSoundfont> soundfont;
    {
        TrimmedFiles& files = trimmedFiles();
        std::lock_guard lock(files.mutex);
        const auto found = files.byName.find(name);
        if (found == files.byName.end())
            return nullptr; // not ours: FluidSynth's own loader takes it
        soundfont = found->second;
    }
    ++trimmedOpens;
    // The real file's name is the cut one's up to the '#'.
    const std::string cut(name);
    const std::string real = cut.substr(0, cut.rfind('#'));
    std::FILE* file = std::fopen(real.c_str(), "rb");
    if (!file)
        return nullptr;
    return new TrimmedHandle{std::move(soundfont), file, 0};
}

int readTrimmed(void* buffer, fluid_long_long_t count, void* handle)
{
    auto* h = static_cast<TrimmedHandle*>(handle);
    auto* out = static_cast<char*>(buffer);
    if (count < 0 || h->position + count > h->soundfont->size)
        return FLUID_FAILED;
    for (const TrimmedSoundfont::Piece& piece : h->soundfont->pieces) {
        if (count == 0)
            break;
        if (h->position >= piece.offset + piece.length || h->position < piece.offset)
            continue;
        const qint64 within = h->position - piece.offset;
        const qint64 n = std::min<qint64>(count, piece.length - within);
        if (piece.fileOffset < 0) {
            std::memcpy(out, piece.bytes.constData() + within, size_t(n));
        } else if (fseeko(h->file, off_t(piece.fileOffset + within), SEEK_SET) != 0
                   || std::fread(out, 1, size_t(n), h->file) != size_t(n)) {
            return FLUID_FAILED;
        }
        out += n;
        count -= n;
        h->position += n;
    }
    return count == 0 ? FLUID_OK : FLUID_FAILED;
}

int seekTrimmed(void* handle, fluid_long_long_t offset, int origin)
{
    auto* h = static_cast<TrimmedHandle*>(handle);
    qint64 target = offset;
    if (origin == SEEK_CUR)
        target += h->position;
    else if (origin == SEEK_END)
        target += h->soundfont->size;
    else if (origin != SEEK_SET)
        return FLUID_FAILED;
    if (target < 0 || target > h->soundfont->size)
        return FLUID_FAILED;
    h->position = target;
    return FLUID_OK;
}

fluid_long_long_t tellTrimmed(void* handle)
{
    return static_cast<TrimmedHandle*>(handle)->position;
}

int closeTrimmed(void* handle)
{
    auto* h = static_cast<TrimmedHandle*>(handle);
    std::fclose(h->file);
    delete h;
    return FLUID_OK;
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
    // Only the samples of the instruments the game plays are read from the
    // soundfont (the beep's and those the tune uses), not the whole set: a
    // few hundred kilobytes instead of several megabytes. For a cut
    // soundfont they are all read as it is loaded (holdPresets).
    library->fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    // A small tune and a beep never need FluidSynth's 256 voices; every
    // voice holds its own buffers (about 2 MB of memory for the 192 spared).
    // The game's tune has up to 72 voices sounding at once, the extra ones
    // fading tails; with 64 the louder notes take their place, and the
    // difference stays 50 dB below the music. Fewer voices would save little
    // (some 11 kB each) and start cutting notes short. Reverb and chorus stay:
    // their buffers are there whether they run or not, and the tune is meant
    // to sound in a room (its channels ask for reverb, its instruments for chorus).
    library->fluid_settings_setint(settings_, "synth.polyphony", 64);
    // The sound server asks for one block at a time: 512 frames, under 12 ms,
    // keeps a beep close to the touch without waking the audio thread more
    // often than a busy machine can keep up with. ALSA queues periods x size.
    library->fluid_settings_setint(settings_, "audio.period-size", 512);
    library->fluid_settings_setint(settings_, "audio.periods", 3);
    synth_ = library->new_fluid_synth(settings_);
    if (!synth_)
        return;
    library->fluid_synth_set_gain(synth_, 0.6f);
    // Tried before FluidSynth's own loader, which still loads every other file.
    if (fluid_sfloader_t* loader = library->new_fluid_defsfloader(settings_)) {
        library->fluid_sfloader_set_callbacks(loader, openTrimmed, readTrimmed, seekTrimmed, tellTrimmed,
                                              closeTrimmed);
        library->fluid_synth_add_sfloader(synth_, loader);
    }
}

Synth::~Synth()
{
    if (player_)
        fluid().delete_fluid_player(player_);
    if (synth_)
        fluid().delete_fluid_synth(synth_);
    if (settings_)
        fluid().delete_fluid_settings(settings_);
    TrimmedFiles& files = trimmedFiles();
    std::lock_guard lock(files.mutex);
    for (const std::string& name : trimmedNames_)
        files.byName.erase(name);
}

bool Synth::loadSoundfont(const QString& path)
{
    if (!synth_ || path.isEmpty())
        return false;
    soundfontPath_ = path;
    presetsKept_ = 0;
    soundfontId_ = fluid().fluid_synth_sfload(synth_, QFile::encodeName(path).constData(), 1);
    return soundfontId_ != FLUID_FAILED;
}

bool Synth::loadSoundfont(const QString& path, const std::vector<PresetRequest>& presets)
{
    if (!synth_ || path.isEmpty())
        return false;
    presets_.insert(presets.begin(), presets.end());
    const std::vector<PresetRequest> wanted(presets_.begin(), presets_.end());
    if (std::optional<TrimmedSoundfont> trimmed = trimSoundfont(path, wanted)) {
        const int kept = trimmed->presetsKept;
        const std::string name = QFile::encodeName(path).toStdString() + "#" + std::to_string(++trimmedCount);
        {
            TrimmedFiles& files = trimmedFiles();
            std::lock_guard lock(files.mutex);
            files.byName.emplace(name, std::make_shared<const TrimmedSoundfont>(std::move(*trimmed)));
        }
        trimmedNames_.push_back(name);
        const int id = fluid().fluid_synth_sfload(synth_, name.c_str(), 1);
        if (id != FLUID_FAILED) {
            soundfontPath_ = path;
            soundfontId_ = id;
            presetsKept_ = kept;
            holdPresets();
            return true;
        }
    }
    // A soundfont this code cannot cut is loaded whole, as it is.
    return loadSoundfont(path);
}

void Synth::usePresets(const std::vector<PresetRequest>& presets)
{
    if (!synth_ || soundfontId_ < 0 || presetsKept_ == 0)
        return; // nothing loaded, or the whole soundfont: every preset is there
    if (std::all_of(presets.begin(), presets.end(), [this](const PresetRequest& p) { return presets_.count(p); }))
        return;
    fluid().fluid_synth_sfunload(synth_, soundfontId_, 1);
    soundfontId_ = -1;
    loadSoundfont(soundfontPath_, presets);
}

PresetRequest Synth::beepPreset()
{
    return {0, BeepProgram, false};
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

void Synth::holdPresets()
{
    if (!synth_ || soundfontId_ < 0 || presetsKept_ == 0)
        return; // a whole soundfont: its samples are read as they are wanted
    fluid_sfont_t* sfont = fluid().fluid_synth_get_sfont_by_id(synth_, soundfontId_);
    if (!sfont)
        return;
    fluid().fluid_sfont_iteration_start(sfont);
    while (fluid_preset_t* preset = fluid().fluid_sfont_iteration_next(sfont))
        fluid().fluid_synth_pin_preset(synth_, soundfontId_, fluid().fluid_preset_get_banknum(preset),
                                       fluid().fluid_preset_get_num(preset));
}

int Synth::soundfontFileOpens()
{
    return trimmedOpens;
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
