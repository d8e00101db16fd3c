#include "platform/sound/FluidLibrary.h"

#include <dlfcn.h>
#include <optional>

namespace zw::platform {

namespace {

// The library's file names, newest first; the last one is the development link.
constexpr const char* LibraryNames[] = {"libfluidsynth.so.3", "libfluidsynth.so.2", "libfluidsynth.so"};

template <typename Function>
bool resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<FluidLibrary> open()
{
    void* library = nullptr;
    for (const char* name : LibraryNames) {
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library)
            break;
    }
    if (!library)
        return std::nullopt;

    FluidLibrary f{};
#define ZW_RESOLVE(name) resolve(library, #name, f.name)
    const bool complete = ZW_RESOLVE(fluid_set_log_function) && ZW_RESOLVE(new_fluid_settings)
        && ZW_RESOLVE(delete_fluid_settings) && ZW_RESOLVE(fluid_settings_setstr)
        && ZW_RESOLVE(fluid_settings_setint)
        && ZW_RESOLVE(new_fluid_synth) && ZW_RESOLVE(delete_fluid_synth)
        && ZW_RESOLVE(fluid_synth_set_gain) && ZW_RESOLVE(fluid_synth_sfload)
        && ZW_RESOLVE(fluid_synth_sfunload) && ZW_RESOLVE(new_fluid_defsfloader)
        && ZW_RESOLVE(fluid_sfloader_set_callbacks) && ZW_RESOLVE(fluid_synth_add_sfloader)
        && ZW_RESOLVE(fluid_synth_count_midi_channels) && ZW_RESOLVE(fluid_synth_all_sounds_off)
        && ZW_RESOLVE(fluid_synth_program_change) && ZW_RESOLVE(fluid_synth_get_program)
        && ZW_RESOLVE(fluid_synth_pin_preset)
        && ZW_RESOLVE(fluid_synth_get_sfont_by_id) && ZW_RESOLVE(fluid_sfont_iteration_start)
        && ZW_RESOLVE(fluid_sfont_iteration_next) && ZW_RESOLVE(fluid_preset_get_banknum)
        && ZW_RESOLVE(fluid_preset_get_num)
        && ZW_RESOLVE(fluid_synth_noteon)
        && ZW_RESOLVE(fluid_synth_noteoff) && ZW_RESOLVE(new_fluid_player)
        && ZW_RESOLVE(delete_fluid_player) && ZW_RESOLVE(fluid_player_add_mem)
        && ZW_RESOLVE(fluid_player_play) && ZW_RESOLVE(fluid_player_stop)
        && ZW_RESOLVE(fluid_player_get_status) && ZW_RESOLVE(fluid_is_midifile)
        && ZW_RESOLVE(new_fluid_audio_driver) && ZW_RESOLVE(delete_fluid_audio_driver);
#undef ZW_RESOLVE
    // A library that lacks any of them is not one the game can play with.
    // It stays open either way: unloading a sound library mid-run is not safe.
    if (!complete)
        return std::nullopt;
    return f;
}

} // namespace

const FluidLibrary* fluidLibrary()
{
    static const std::optional<FluidLibrary> library = open();
    return library ? &*library : nullptr;
}

} // namespace zw::platform
