#include "platform/sound/TuneFile.h"

#include "base/RegularFile.h"
#include "platform/sound/FluidLibrary.h"

#include <QFile>

namespace zw::platform {

std::optional<QByteArray> readTune(const QString& path)
{
    if (!fluidLibrary())
        return std::nullopt;
    // Read once, as the file is when opened: a pipe or a device in its place
    // is never opened for reading, and nothing past MaxTuneBytes is read.
    RegularFile file = readRegularFile(QFile::encodeName(path), MaxTuneBytes, FollowLinks::Yes);
    // A Standard MIDI File starts with its header chunk; FluidSynth plays nothing else.
    if (file.state != RegularFile::Read || !file.bytes.startsWith("MThd"))
        return std::nullopt;
    return std::move(file.bytes);
}

} // namespace zw::platform
