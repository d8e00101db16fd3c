#pragma once
// FluidSynth, opened by the sound worker once the window has shown its first
// frame instead of being linked into the program. The library brings some
// sixty others with it (sound servers, audio codecs, a patch library);
// linked in, they would all be loaded and relocated before the window could
// open, which cost the start-up several milliseconds and the game about 5 MB
// of memory, for a sound that may never play.

#include <fluidsynth.h>

namespace zw::platform {

// The functions of FluidSynth the game calls, under their own names.
struct FluidLibrary {
    decltype(&::fluid_set_log_function) fluid_set_log_function;
    decltype(&::new_fluid_settings) new_fluid_settings;
    decltype(&::delete_fluid_settings) delete_fluid_settings;
    decltype(&::fluid_settings_setstr) fluid_settings_setstr;
    decltype(&::fluid_settings_setint) fluid_settings_setint;
    decltype(&::new_fluid_synth) new_fluid_synth;
    decltype(&::delete_fluid_synth) delete_fluid_synth;
    decltype(&::fluid_synth_set_gain) fluid_synth_set_gain;
    decltype(&::fluid_synth_sfload) fluid_synth_sfload;
    decltype(&::fluid_synth_sfunload) fluid_synth_sfunload;
    decltype(&::new_fluid_defsfloader) new_fluid_defsfloader;
    decltype(&::fluid_sfloader_set_callbacks) fluid_sfloader_set_callbacks;
    decltype(&::fluid_synth_add_sfloader) fluid_synth_add_sfloader;
    decltype(&::fluid_synth_count_midi_channels) fluid_synth_count_midi_channels;
    decltype(&::fluid_synth_all_sounds_off) fluid_synth_all_sounds_off;
    decltype(&::fluid_synth_program_change) fluid_synth_program_change;
    decltype(&::fluid_synth_get_program) fluid_synth_get_program;
    decltype(&::fluid_synth_pin_preset) fluid_synth_pin_preset;
    decltype(&::fluid_synth_get_sfont_by_id) fluid_synth_get_sfont_by_id;
    decltype(&::fluid_sfont_iteration_start) fluid_sfont_iteration_start;
    decltype(&::fluid_sfont_iteration_next) fluid_sfont_iteration_next;
    decltype(&::fluid_preset_get_banknum) fluid_preset_get_banknum;
    decltype(&::fluid_preset_get_num) fluid_preset_get_num;
    decltype(&::fluid_synth_noteon) fluid_synth_noteon;
    decltype(&::fluid_synth_noteoff) fluid_synth_noteoff;
    decltype(&::new_fluid_player) new_fluid_player;
    decltype(&::delete_fluid_player) delete_fluid_player;
    decltype(&::fluid_player_add_mem) fluid_player_add_mem;
    decltype(&::fluid_player_play) fluid_player_play;
    decltype(&::fluid_player_stop) fluid_player_stop;
    decltype(&::fluid_player_get_status) fluid_player_get_status;
    decltype(&::fluid_is_midifile) fluid_is_midifile;
    decltype(&::new_fluid_audio_driver) new_fluid_audio_driver;
    decltype(&::delete_fluid_audio_driver) delete_fluid_audio_driver;
};

// The library, opened by the first call from whichever thread makes it and
// kept open for the rest of the program; nullptr when it is not installed or
// lacks any of the functions above (the game is then silent). Every user of
// the sound library must check this before calling into it.
const FluidLibrary* fluidLibrary();

} // namespace zw::platform
