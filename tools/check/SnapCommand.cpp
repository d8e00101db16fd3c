#include "SnapCommand.h"

#include "check/KeyColour.h"
#include "check/PlayerLevels.h"
#include "check/Snap.h"
#include "platform/store/ReplaceFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace zw::check;

namespace {

QString reasonOf(int error)
{
    switch (error) {
    case EISDIR: return QStringLiteral("it is a folder");
    case ENODEV: return QStringLiteral("it is not an ordinary file (a device, pipe or socket is never replaced)");
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

int cannotWrite(const QString& out, const QString& reason)
{
    std::fprintf(stderr, "zigwalk-check: cannot write %s: %s\n", qPrintable(out), qPrintable(reason));
    return 2;
}

// "62 of 307200 pixels changed (40 to black, 22 to white)"
QString changesText(const Snapped& snapped)
{
    QString text = QStringLiteral("%1 of %2 pixels changed")
                       .arg(snapped.changed)
                       .arg(qint64(snapped.image.width()) * snapped.image.height());
    QStringList to;
    for (int k = 0; k < KeyCount; ++k)
        if (snapped.changedTo[std::size_t(k)])
            to << QStringLiteral("%1 to %2").arg(snapped.changedTo[std::size_t(k)]).arg(colourName(Key(k)));
    if (!to.isEmpty())
        text += QStringLiteral(" (%1)").arg(to.join(QStringLiteral(", ")));
    return text;
}

} // namespace

int snapCommand(const QString& in, const QString& out)
{
    std::vector<Finding> findings;
    const QImage picture = readPlayerPicture(in, in, Language::English, findings);
    for (const Finding& f : findings)
        std::fprintf(stderr, "%s\n", qPrintable(f.line()));
    if (picture.isNull())
        return 1;
    const Snapped snapped = snapToKeyColours(picture);

    // Written as 8-bit key indices: a small file, read back as it is kept.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(keyIndexed(snapped.image)))
        return cannotWrite(out, writer.errorString());

    // Into a new file beside OUT, renamed over it only once whole and synced:
    // OUT is often IN, the only copy of a painting.
    zw::platform::Replacement replacement;
    if (const int error = zw::platform::lookBeforeReplacing(out, replacement))
        return cannotWrite(out, reasonOf(error) + QStringLiteral("; nothing was written"));
    const zw::platform::Replaced done = zw::platform::replaceFile(replacement, png);
    if (done.error && !done.inPlace)
        return cannotWrite(out, reasonOf(done.error) + QStringLiteral("; nothing was written"));
    if (done.error)
        return cannotWrite(out, QStringLiteral("written, but its folder could not be synced to disk: ") + reasonOf(done.error));
    std::printf("%s: %s\n", qPrintable(out), qPrintable(changesText(snapped)));
    return 0;
}
