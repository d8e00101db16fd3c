#pragma once
// Tunes for the tests as MIDI files, among them one small enough to read at
// a glance: four piano notes, a C major arpeggio, half a second each.

#include "MidiWriter.h"

#include <QByteArray>

#include <vector>

namespace zw::test {

// A MIDI file of these tracks, 480 ticks to the quarter note.
inline QByteArray midiFile(const std::vector<midi::Track>& tracks)
{
    const midi::Bytes bytes = midi::file(tracks, 480);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

inline QByteArray tinyTune()
{
    midi::Track track;
    track.tempo(0, 500000); // 120 beats a minute: a quarter note is half a second
    track.program(0, 0, 0); // acoustic grand piano
    const int keys[] = {60, 64, 67, 72};
    for (int i = 0; i < 4; ++i)
        track.note(i * 480, 0, keys[i], 100, 460);
    return midiFile({track});
}

} // namespace zw::test
