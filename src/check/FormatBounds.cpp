#include "check/FormatBounds.h"

#include <array>
#include <cstdint>

namespace zw::check {

namespace {

int le16(const QByteArray& b, qsizetype at) { return quint8(b[at]) | quint8(b[at + 1]) << 8; }

// The bytes of a run of GIF data sub-blocks from at, joined; at ends past
// the terminating empty block. False when the file ends first.
bool subBlocks(const QByteArray& file, qsizetype& at, QByteArray* joined)
{
    for (;;) {
        if (at >= file.size())
            return false;
        const int length = quint8(file[at++]);
        if (length == 0)
            return true;
        if (file.size() - at < length)
            return false;
        if (joined)
            joined->append(file.constData() + at, length);
        at += length;
    }
}

// How many pixels the LZW codes of a GIF frame spell, counted without
// spelling them; -1 when the codes are broken. Stops once past `most`.
qint64 spelledLength(const QByteArray& data, int minimumCodeSize, qint64 most)
{
    const int clear = 1 << minimumCodeSize, end = clear + 1;
    std::array<std::uint32_t, 4096> lengths{};
    int size = minimumCodeSize + 1, next = clear + 2;
    std::uint32_t previous = 0; // length of the last string; 0 right after a clear
    qint64 total = 0;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char byte : data) {
        bits |= std::uint32_t(quint8(byte)) << held;
        held += 8;
        while (held >= size) {
            const int code = int(bits & ((1u << size) - 1));
            bits >>= size;
            held -= size;
            if (code == clear) {
                size = minimumCodeSize + 1;
                next = clear + 2;
                previous = 0;
                continue;
            }
            if (code == end)
                return total;
            std::uint32_t length;
            if (code < clear)
                length = 1;
            else if (code < next && previous != 0)
                length = lengths[std::size_t(code)];
            else if (code == next && previous != 0)
                length = previous + 1;
            else
                return -1;
            total += length;
            if (total > most)
                return total;
            if (previous != 0 && next < 4096) {
                lengths[std::size_t(next)] = previous + 1;
                if (++next == (1 << size) && size < 12)
                    ++size;
            }
            previous = length;
        }
    }
    return total;
}

} // namespace

DecodedPicture::Problem boundGif(const QByteArray& file)
{
    // Header, logical screen, global colour table.
    if (file.size() < 13)
        return DecodedPicture::Damaged;
    qsizetype at = 13;
    if (quint8(file[10]) & 0x80)
        at += 3 * (2 << (quint8(file[10]) & 7));
    // Up to the first frame: the one Qt shows.
    while (at < file.size()) {
        const quint8 block = quint8(file[at++]);
        if (block == 0x21) { // an extension: its label, then its sub-blocks
            ++at;
            if (!subBlocks(file, at, nullptr))
                return DecodedPicture::Damaged;
        } else if (block == 0x2C) { // a frame
            if (file.size() - at < 10)
                return DecodedPicture::Damaged;
            // Qt spells out every pixel of the frame, also those off the
            // screen: a frame larger than its screen is refused, so the
            // screen (whose size is checked) bounds the work.
            if (le16(file, at) + le16(file, at + 4) > le16(file, 6) || le16(file, at + 2) + le16(file, at + 6) > le16(file, 8))
                return DecodedPicture::Damaged;
            const qint64 pixels = qint64(le16(file, at + 4)) * le16(file, at + 6);
            const quint8 flags = quint8(file[at + 8]);
            at += 9;
            if (flags & 0x80)
                at += 3 * (2 << (flags & 7));
            if (at >= file.size())
                return DecodedPicture::Damaged;
            const int minimumCodeSize = quint8(file[at++]);
            if (minimumCodeSize < 1 || minimumCodeSize > 11)
                return DecodedPicture::Damaged;
            QByteArray data;
            if (!subBlocks(file, at, &data))
                return DecodedPicture::Damaged;
            const qint64 spelled = spelledLength(data, minimumCodeSize, pixels);
            if (spelled < 0)
                return DecodedPicture::Damaged;
            return spelled > pixels ? DecodedPicture::DataPastRows : DecodedPicture::None;
        } else {
            return DecodedPicture::Damaged; // the trailer, or anything else, before any frame
        }
    }
    return DecodedPicture::Damaged;
}

DecodedPicture::Problem boundJpeg(const QByteArray& file)
{
    int scans = 0;
    qsizetype at = 2; // past the start of image
    while (at + 1 < file.size()) {
        if (quint8(file[at]) != 0xFF)
            return DecodedPicture::Damaged;
        const quint8 marker = quint8(file[at + 1]);
        at += 2;
        if (marker == 0xFF) { // fill byte
            --at;
            continue;
        }
        if (marker == 0xD9) // end of image
            break;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue; // no length
        if (file.size() - at < 2)
            return DecodedPicture::Damaged;
        at += (quint8(file[at]) << 8 | quint8(file[at + 1]));
        if (marker != 0xDA)
            continue;
        if (++scans > MostJpegScans)
            return DecodedPicture::TooManyScans;
        // The scan's coded data, up to the next marker that is no restart.
        while (at + 1 < file.size()) {
            if (quint8(file[at]) == 0xFF) {
                const quint8 next = quint8(file[at + 1]);
                if (next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
                    break;
            }
            ++at;
        }
    }
    return DecodedPicture::None;
}

} // namespace zw::check
