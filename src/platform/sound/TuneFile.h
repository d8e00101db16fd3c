#pragma once
// Reading the background tune from disk. Only an ordinary file that
// FluidSynth recognises as MIDI and that is no larger than a tune plausibly
// is gets played; anything else leaves the game silent. The bytes are read
// once, so the tune that was checked is the tune that plays even if the file
// changes afterwards.

#include "base/FileLimits.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace zw::platform {

inline constexpr qint64 MaxTuneBytes = LargestDataFile;

// The whole file, or nothing when it is missing, empty, too large or not MIDI.
std::optional<QByteArray> readTune(const QString& path);

} // namespace zw::platform
