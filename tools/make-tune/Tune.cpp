#include "Tune.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace zw::tune {

namespace {

constexpr int Quarter = 480;
constexpr int Eighth = Quarter / 2;
constexpr int Bar = 4 * Quarter;
constexpr int BeatsPerMinute = 116;

// Channels and General MIDI programs (counted from 0) of the parts.
constexpr int MelodyChannel = 0, Vibraphone = 11;
constexpr int CompChannel = 1, ElectricPiano = 4;
constexpr int PadChannel = 2, Strings = 48;
constexpr int BassChannel = 3, FingeredBass = 33;
constexpr int DrumChannel = 9;
constexpr int Kick = 36, SideStick = 37, ClosedHat = 42, Crash = 49;

// "A4" is the A above middle C, "Bb4" the B flat just above it; "r" is a rest.
int key(const std::string& pitch)
{
    static const std::map<char, int> steps = {
        {'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    int semitone = steps.at(pitch.at(0));
    std::size_t at = 1;
    if (pitch.at(at) == 'b')
        --semitone, ++at;
    else if (pitch.at(at) == '#')
        ++semitone, ++at;
    const int octave = std::stoi(pitch.substr(at));
    return 12 * (octave + 1) + semitone;
}

struct Chord {
    std::vector<int> voicing; // the comping and pad notes, close around middle C
    int bassRoot;
};

const std::map<std::string, Chord> chords = {
    {"F", {{57, 60, 65}, 41}},  {"Dm", {{57, 62, 65}, 38}}, {"Bb", {{58, 62, 65}, 46}},
    {"C", {{55, 60, 64}, 36}},  {"Am", {{57, 60, 64}, 45}}, {"Gm", {{55, 58, 62}, 43}},
    {"C7", {{55, 58, 64}, 36}},
};

// One or two chords a bar; two share the bar half and half.
const std::vector<std::vector<std::string>> harmony = {
    // intro
    {"F"}, {"C"},
    // the theme
    {"F"}, {"Dm"}, {"Bb"}, {"C"}, {"F"}, {"Am"}, {"Bb", "C"}, {"F"},
    // the answer, climbing before it turns home
    {"Bb"}, {"C"}, {"Am"}, {"Dm"}, {"Gm"}, {"C"}, {"F"}, {"C7"},
    // the theme again, cut short
    {"F"}, {"Dm"}, {"Bb", "C"}, {"F"},
    // the ending
    {"Bb"}, {"F"},
};

struct Step {
    const char* pitch;
    int eighths;
};

// The melody starts after the two bars of intro; every bar holds eight eighths.
const std::vector<std::vector<Step>> melody = {
    {{"A4", 2}, {"C5", 2}, {"F5", 3}, {"E5", 1}},
    {{"D5", 2}, {"C5", 2}, {"A4", 4}},
    {{"Bb4", 2}, {"D5", 2}, {"F5", 2}, {"D5", 2}},
    {{"C5", 4}, {"G4", 2}, {"A4", 1}, {"Bb4", 1}},
    {{"A4", 2}, {"C5", 2}, {"F5", 2}, {"A5", 2}},
    {{"G5", 2}, {"E5", 2}, {"C5", 4}},
    {{"D5", 2}, {"F5", 2}, {"E5", 2}, {"G5", 2}},
    {{"F5", 6}, {"r", 2}},

    {{"D5", 3}, {"C5", 1}, {"Bb4", 2}, {"D5", 2}},
    {{"E5", 3}, {"D5", 1}, {"C5", 2}, {"E5", 2}},
    {{"C5", 2}, {"E5", 2}, {"A5", 3}, {"G5", 1}},
    {{"F5", 2}, {"E5", 2}, {"D5", 4}},
    {{"Bb4", 2}, {"D5", 2}, {"G5", 3}, {"F5", 1}},
    {{"E5", 2}, {"C5", 2}, {"G4", 4}},
    {{"A4", 2}, {"C5", 2}, {"F5", 2}, {"C5", 2}},
    {{"Bb4", 2}, {"A4", 2}, {"G4", 2}, {"C5", 2}},

    {{"A4", 2}, {"C5", 2}, {"F5", 3}, {"E5", 1}},
    {{"D5", 2}, {"F5", 2}, {"A5", 4}},
    {{"G5", 2}, {"F5", 2}, {"E5", 2}, {"D5", 1}, {"E5", 1}},
    {{"F5", 4}, {"r", 2}, {"C5", 2}},

    {{"D5", 2}, {"F5", 2}, {"Bb5", 2}, {"A5", 2}},
    {{"F5", 8}},
};

constexpr int IntroBars = 2;

midi::Track conductor()
{
    midi::Track track;
    track.name("Walking the Zigzag");
    track.tempo(0, 60'000'000 / BeatsPerMinute);
    track.timeSignature(0, 4, 4);
    return track;
}

midi::Track part(const std::string& name, int channel, int program, int volume, int pan)
{
    midi::Track track;
    track.name(name);
    if (program >= 0)
        track.program(0, channel, program);
    track.controller(0, channel, 7, volume);
    track.controller(0, channel, 10, pan);
    track.controller(0, channel, 91, 40); // a little room around every part
    return track;
}

midi::Track melodyPart()
{
    midi::Track track = part("Vibraphone", MelodyChannel, Vibraphone, 112, 64);
    int tick = IntroBars * Bar;
    for (const auto& bar : melody) {
        int eighths = 0;
        for (const Step& step : bar) {
            const int length = step.eighths * Eighth;
            if (std::string(step.pitch) != "r") {
                const bool downbeat = eighths % 4 == 0;
                track.note(tick, MelodyChannel, key(step.pitch), downbeat ? 100 : 88, length - 30);
            }
            tick += length;
            eighths += step.eighths;
        }
        if (eighths != 8)
            throw std::logic_error("a melody bar does not hold four beats");
    }
    return track;
}

// Short chords on the off-beats give the walk its bounce; the last bar
// rings out on one long chord.
midi::Track compPart()
{
    midi::Track track = part("Electric piano", CompChannel, ElectricPiano, 84, 40);
    for (std::size_t bar = 0; bar < harmony.size(); ++bar) {
        const auto& names = harmony[bar];
        const int start = int(bar) * Bar;
        if (bar + 1 == harmony.size()) {
            for (int note : chords.at(names[0]).voicing)
                track.note(start, CompChannel, note, 64, 2 * Quarter);
            continue;
        }
        for (int eighth = 1; eighth < 8; eighth += 2) {
            const Chord& chord = chords.at(names[eighth * names.size() / 8]);
            for (int note : chord.voicing)
                track.note(start + eighth * Eighth, CompChannel, note, 60, Eighth - 40);
        }
    }
    return track;
}

midi::Track padPart()
{
    midi::Track track = part("Strings", PadChannel, Strings, 72, 88);
    for (std::size_t bar = 0; bar < harmony.size(); ++bar) {
        const auto& names = harmony[bar];
        const int length = Bar / int(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            for (int note : chords.at(names[i]).voicing)
                track.note(int(bar) * Bar + int(i) * length, PadChannel, note + 12, 44, length - 10);
        }
    }
    return track;
}

// Root, fifth, octave, fifth: a walking line that keeps the pulse.
midi::Track bassPart()
{
    midi::Track track = part("Bass", BassChannel, FingeredBass, 100, 64);
    for (std::size_t bar = 0; bar < harmony.size(); ++bar) {
        const auto& names = harmony[bar];
        const int start = int(bar) * Bar;
        if (bar + 1 == harmony.size()) {
            track.note(start, BassChannel, chords.at(names[0]).bassRoot, 96, Bar - 10);
            continue;
        }
        const int pattern[] = {0, 7, 12, 7};
        for (int beat = 0; beat < 4; ++beat) {
            const int root = chords.at(names[beat * names.size() / 4]).bassRoot;
            const int offset = names.size() == 2 ? (beat % 2 == 0 ? 0 : 7) : pattern[beat];
            track.note(start + beat * Quarter, BassChannel, root + offset, beat == 0 ? 100 : 88,
                       Quarter - 40);
        }
    }
    return track;
}

midi::Track drumPart()
{
    midi::Track track = part("Drums", DrumChannel, -1, 84, 64);
    const int bars = int(harmony.size());
    for (int bar = 0; bar < bars; ++bar) {
        const int start = bar * Bar;
        if (bar + 1 == bars) {
            track.note(start, DrumChannel, Crash, 90, Quarter);
            track.note(start, DrumChannel, Kick, 100, Eighth);
            continue;
        }
        for (int eighth = 0; eighth < 8; ++eighth)
            track.note(start + eighth * Eighth, DrumChannel, ClosedHat, eighth % 2 == 0 ? 54 : 36, Eighth / 2);
        track.note(start, DrumChannel, Kick, 96, Eighth);
        track.note(start + 2 * Quarter, DrumChannel, Kick, 88, Eighth);
        track.note(start + Quarter, DrumChannel, SideStick, 70, Eighth);
        track.note(start + 3 * Quarter, DrumChannel, SideStick, 70, Eighth);
    }
    return track;
}

} // namespace

midi::Bytes compose()
{
    if (melody.size() + IntroBars != harmony.size())
        throw std::logic_error("the melody and the chords differ in length");
    return midi::file({conductor(), melodyPart(), compPart(), padPart(), bassPart(), drumPart()},
                      Quarter);
}

} // namespace zw::tune
