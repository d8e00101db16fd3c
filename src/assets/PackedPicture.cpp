#include "assets/PackedPicture.h"

#include <QList>

#include <cstring>

namespace zw {

namespace {

constexpr char Magic[4] = {'Z', 'W', 'P', '1'};
constexpr qsizetype WordSize = 4;
constexpr quint32 MaxSide = 1 << 14;

qsizetype rowStride(quint32 width)
{
    return (static_cast<qsizetype>(width) + WordSize - 1) / WordSize * WordSize;
}

void appendWord(QByteArray& out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

quint32 wordAt(const uchar* data, qsizetype at)
{
    return quint32(data[at]) | quint32(data[at + 1]) << 8 | quint32(data[at + 2]) << 16
        | quint32(data[at + 3]) << 24;
}

} // namespace

QByteArray packPicture(const QImage& picture)
{
    if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() < 1)
        return {};
    const auto width = static_cast<quint32>(picture.width());
    const auto height = static_cast<quint32>(picture.height());
    const QList<QRgb> colours = picture.colorTable();

    QByteArray out;
    out.reserve(WordSize * (4 + colours.size()) + rowStride(width) * height);
    out.append(Magic, sizeof Magic);
    appendWord(out, width);
    appendWord(out, height);
    appendWord(out, static_cast<quint32>(colours.size()));
    for (QRgb colour : colours)
        appendWord(out, colour);
    const QByteArray padding(rowStride(width) - width, '\0');
    for (int y = 0; y < picture.height(); ++y) {
        out.append(reinterpret_cast<const char*>(picture.constScanLine(y)), width);
        out.append(padding);
    }
    return out;
}

QImage unpackPicture(const uchar* data, qsizetype size)
{
    constexpr qsizetype HeaderSize = 4 * WordSize;
    if (!data || size < HeaderSize || std::memcmp(data, Magic, sizeof Magic) != 0)
        return {};
    const quint32 width = wordAt(data, 4);
    const quint32 height = wordAt(data, 8);
    const quint32 colourCount = wordAt(data, 12);
    if (width < 1 || width > MaxSide || height < 1 || height > MaxSide || colourCount < 1 || colourCount > 256)
        return {};
    const qsizetype pixelsAt = HeaderSize + WordSize * colourCount;
    const qsizetype stride = rowStride(width);
    if (size != pixelsAt + stride * height)
        return {};

    QList<QRgb> colours(colourCount);
    for (quint32 i = 0; i < colourCount; ++i)
        colours[i] = wordAt(data, HeaderSize + WordSize * i);

    QImage picture(data + pixelsAt, int(width), int(height), stride, QImage::Format_Indexed8);
    picture.setColorTable(colours);
    // The toolkit wants rows on word boundaries; the resource compiler gives
    // them that, but a picture that arrives otherwise gets a copy of its own.
    if (reinterpret_cast<quintptr>(data + pixelsAt) % WordSize != 0)
        return picture.copy();
    return picture;
}

} // namespace zw
