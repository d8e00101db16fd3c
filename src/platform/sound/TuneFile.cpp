#include "platform/sound/TuneFile.h"

#include "platform/sound/FluidLibrary.h"

#include <QFile>
#include <QFileInfo>

namespace zw::platform {

std::optional<QByteArray> readTune(const QString& path)
{
    // isFile() also keeps out pipes and devices, which could block the read.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > MaxTuneBytes)
        return std::nullopt;
    const FluidLibrary* fluid = fluidLibrary();
    if (!fluid || !fluid->fluid_is_midifile(QFile::encodeName(path).constData()))
        return std::nullopt;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte more than allowed tells a file that grew since the check.
    QByteArray bytes = file.read(MaxTuneBytes + 1);
    if (bytes.isEmpty() || bytes.size() > MaxTuneBytes)
        return std::nullopt;
    return bytes;
}

} // namespace zw::platform
