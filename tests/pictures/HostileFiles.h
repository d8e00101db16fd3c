#pragma once
// Picture files built piece by piece, for the files a player's folder may
// hold that no paint program writes: image data that goes on for gigabytes
// after the last row, megabytes of text, a header that lies about the size,
// a checksum that does not match, a JPEG of endless scans.

#include <QByteArray>
#include <QImage>

namespace zw::fixtures {

// One chunk: length, type, data and its CRC.
QByteArray pngChunk(const char type[4], const QByteArray& data);

// An 8-bit RGB PNG of picture, its header saying width x height (the
// picture's own size when 0), with extra chunks before the image data and
// `zeroBytes` zero bytes more inflated after the last row, in the same
// stream: an 8 MB file carries about 8 GiB of them.
struct PngParts {
    QByteArray beforeData;  // whole chunks, put between the header and the image data
    qint64 zeroBytes = 0;   // inflated bytes after the rows
    quint32 width = 0, height = 0;
    bool interlaced = false; // the rows in Adam7's seven passes
};
QByteArray rgbPng(const QImage& picture, const PngParts& parts = {});

// A GIF of picture (at most 256 colours), its codes each one pixel; with
// `bomb` its codes go on after the last pixel, each spelling about 4,000
// more, `bomb` codes in all.
QByteArray gifOf(const QImage& picture, qint64 bomb = 0);

// A JPEG of picture whose first scan is repeated until it has `scans`.
QByteArray jpegOfScans(const QImage& picture, int scans);

// The offset of the first chunk of that type in png, at its length field; -1 when none.
qsizetype chunkAt(const QByteArray& png, const char type[4]);

} // namespace zw::fixtures
