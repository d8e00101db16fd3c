#pragma once
// A General MIDI soundfont cut down to the few presets the game plays.
// FluidSynth builds its description of every preset and instrument of a
// soundfont when it loads it, several megabytes for a full General MIDI
// set, although the game only ever plays a handful. The cut soundfont is
// the same file with a smaller preset list: its header and sample data are
// the real file's bytes, read from the real file, so sample positions stay
// valid and only the samples in use are ever read; only the list of
// presets and instruments is rebuilt in memory.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zw::platform {

// A preset a MIDI channel asks for. A drum channel asks the drum bank.
struct PresetRequest {
    int bank = 0;
    int program = 0;
    bool drum = false;
    friend bool operator==(const PresetRequest&, const PresetRequest&) = default;
    friend auto operator<=>(const PresetRequest&, const PresetRequest&) = default;
};

// The presets a tune asks for: every program change (in the banks its bank
// selects name) and the starting preset of each channel that plays a note
// before its first program change. Empty for a file that is not MIDI.
std::vector<PresetRequest> presetsOfTune(const QByteArray& midi);

// The cut soundfont as pieces of a file: either bytes held here or a range
// of the real file.
struct TrimmedSoundfont {
    struct Piece {
        qint64 offset = 0;     // where the piece starts in the cut file
        qint64 length = 0;
        qint64 fileOffset = -1; // where it comes from in the real file, or -1
        QByteArray bytes;       // the piece itself when it is not the file's
    };
    std::vector<Piece> pieces;
    qint64 size = 0;
    int presetsKept = 0;
};

// Builds the cut soundfont of the file at path. For each request the preset
// FluidSynth would pick is kept (the one asked for or, when the soundfont
// lacks it, the one FluidSynth falls back to); requests the soundfont cannot
// serve at all are left out. Nothing when the file is not a soundfont this
// code understands, or none of its presets is wanted: the caller then
// loads the real file as it is.
std::optional<TrimmedSoundfont> trimSoundfont(const QString& path, const std::vector<PresetRequest>& wanted);

} // namespace zw::platform
