#pragma once
// A tune small enough to read at a glance: four piano notes, a C major
// arpeggio, half a second each.

#include "MidiWriter.h"

#include <QByteArray>

namespace zw::test {

inline QByteArray tinyTune()
{
    midi::Track track;
    track.tempo(0, 500000); // 120 beats a minute: a quarter note is half a second
    track.program(0, 0, 0); // acoustic grand piano
    const int keys[] = {60, 64, 67, 72};
    for (int i = 0; i < 4; ++i)
        track.note(i * 480, 0, keys[i], 100, 460);
    const midi::Bytes bytes = midi::file({track}, 480);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace zw::test
