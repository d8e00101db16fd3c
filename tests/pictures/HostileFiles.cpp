#include "HostileFiles.h"

#include <QBuffer>

#include <span>
#include <zlib.h>

namespace zw::fixtures {

namespace {

void putBe32(QByteArray& out, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

QByteArray rawRows(const QImage& picture, bool interlaced)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    // Adam7's passes: first column and row, and their steps; one pass of
    // every pixel when not interlaced.
    static constexpr int adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static constexpr int whole[1][4] = {{0, 0, 1, 1}};
    QByteArray rows;
    for (const auto& p : interlaced ? std::span<const int[4]>(adam7) : std::span<const int[4]>(whole))
        for (int y = p[1]; y < rgb.height(); y += p[3]) {
            rows.append('\0'); // filter: none
            for (int x = p[0]; x < rgb.width(); x += p[2])
                rows.append(reinterpret_cast<const char*>(rgb.constScanLine(y)) + 3 * x, 3);
        }
    return rows;
}

// Deflates data into z with the given flush, appending what comes out.
void deflateInto(z_stream& z, const QByteArray& data, int flush, QByteArray& out)
{
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    char buffer[64 * 1024];
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        ::deflate(&z, flush);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
    } while (z.avail_out == 0 || z.avail_in > 0);
}

} // namespace

QByteArray pngChunk(const char type[4], const QByteArray& data)
{
    QByteArray out;
    putBe32(out, quint32(data.size()));
    out.append(type, 4);
    out.append(data);
    putBe32(out, quint32(::crc32(::crc32(0L, reinterpret_cast<const Bytef*>(type), 4),
                                 reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()))));
    return out;
}

QByteArray rgbPng(const QImage& picture, const PngParts& parts)
{
    const QByteArray rows = rawRows(picture, parts.interlaced);
    z_stream z {};
    ::deflateInit(&z, Z_BEST_COMPRESSION);
    QByteArray stream;
    uLong adler = ::adler32(1L, reinterpret_cast<const Bytef*>(rows.constData()), uInt(rows.size()));
    if (parts.zeroBytes > 0) {
        // After a full flush the compressor starts afresh, so one megabyte
        // of zeros deflates to the same bytes every time: deflated twice
        // (the first time still shows the rows' history), then repeated.
        deflateInto(z, rows, Z_FULL_FLUSH, stream);
        constexpr qint64 Mb = 1 << 20;
        const QByteArray zeros(Mb, '\0');
        const uLong zerosAdler = ::adler32(1L, reinterpret_cast<const Bytef*>(zeros.constData()), uInt(Mb));
        deflateInto(z, zeros, Z_FULL_FLUSH, stream);
        QByteArray unit;
        deflateInto(z, zeros, Z_FULL_FLUSH, unit);
        stream.append(unit);
        adler = ::adler32_combine(::adler32_combine(adler, zerosAdler, Mb), zerosAdler, Mb);
        for (qint64 done = 2 * Mb; done < parts.zeroBytes; done += Mb) {
            stream.append(unit);
            adler = ::adler32_combine(adler, zerosAdler, Mb);
        }
        // The stream's end: an empty last block, then the checksum of all it held.
        z.next_in = nullptr;
        z.avail_in = 0;
        char tail[64];
        z.next_out = reinterpret_cast<Bytef*>(tail);
        z.avail_out = sizeof tail;
        ::deflate(&z, Z_FINISH);
        // zlib's own trailer sums only what it was given; put the true one.
        stream.append(tail, qsizetype(sizeof tail - z.avail_out) - 4);
        putBe32(stream, quint32(adler));
    } else {
        deflateInto(z, rows, Z_FINISH, stream);
    }
    ::deflateEnd(&z);

    QByteArray header;
    putBe32(header, parts.width ? parts.width : quint32(picture.width()));
    putBe32(header, parts.height ? parts.height : quint32(picture.height()));
    header.append(char(8)); // bit depth
    header.append(char(2)); // RGB
    header.append(2, '\0'); // deflate, adaptive filters
    header.append(char(parts.interlaced ? 1 : 0));

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += pngChunk("IHDR", header);
    png += parts.beforeData;
    constexpr qsizetype Piece = 1 << 20; // image data in chunks of 1 MB, as writers split it
    for (qsizetype at = 0; at < stream.size(); at += Piece)
        png += pngChunk("IDAT", stream.mid(at, Piece));
    png += pngChunk("IEND", {});
    return png;
}

namespace {

// GIF's codes, packed least significant bit first, the code size growing as
// a decoder's table does.
class CodePacker {
public:
    explicit CodePacker(int minimumCodeSize) : minimum_(minimumCodeSize), size_(minimumCodeSize + 1) {}

    void put(int code)
    {
        bits_ |= quint64(code) << held_;
        held_ += size_;
        while (held_ >= 8) {
            out_.append(char(bits_ & 0xFF));
            bits_ >>= 8;
            held_ -= 8;
        }
        const int clear = 1 << minimum_;
        if (code == clear) {
            size_ = minimum_ + 1;
            next_ = clear + 2;
            afterClear_ = true;
        } else if (afterClear_) {
            afterClear_ = false;
        } else if (next_ < 4096 && ++next_ == (1 << size_) && size_ < 12) {
            ++size_;
        }
    }
    QByteArray finish()
    {
        if (held_ > 0)
            out_.append(char(bits_ & 0xFF));
        return out_;
    }

private:
    int minimum_, size_, next_ = 0;
    bool afterClear_ = true;
    quint64 bits_ = 0;
    int held_ = 0;
    QByteArray out_;
};

void putLe16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

} // namespace

QByteArray gifOf(const QImage& picture, qint64 bomb)
{
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QByteArray gif("GIF89a");
    putLe16(gif, indexed.width());
    putLe16(gif, indexed.height());
    gif.append(char(0xF7)); // a global table of 256 colours
    gif.append(2, '\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < indexed.colorCount() ? indexed.color(i) : 0;
        gif.append(char(qRed(c)));
        gif.append(char(qGreen(c)));
        gif.append(char(qBlue(c)));
    }
    gif.append(',');
    putLe16(gif, 0);
    putLe16(gif, 0);
    putLe16(gif, indexed.width());
    putLe16(gif, indexed.height());
    gif.append('\0');
    gif.append(char(8)); // the minimum code size
    constexpr int Clear = 256, End = 257;
    CodePacker codes(8);
    // A clear before the table grows keeps every code 9 bits: one pixel each.
    int sinceClear = 0;
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear++ % 250 == 0)
                codes.put(Clear);
            codes.put(indexed.pixelIndex(x, y));
        }
    if (bomb > 0) {
        // Each code the one being defined: strings one longer each time, up
        // to the full table; then its longest string over and over.
        codes.put(Clear);
        codes.put(0);
        for (int code = 258; code < 4096; ++code)
            codes.put(code);
        for (qint64 i = 0; i < bomb; ++i)
            codes.put(4095);
    }
    codes.put(End);
    const QByteArray data = codes.finish();
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append('\0');
    gif.append(';');
    return gif;
}

QByteArray jpegOfScans(const QImage& picture, int scans)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    // The first scan runs from its marker to the end of image (the last two bytes).
    const qsizetype scan = jpeg.indexOf("\xFF\xDA");
    const QByteArray one = jpeg.mid(scan, jpeg.size() - 2 - scan);
    for (int i = 1; i < scans; ++i)
        jpeg.insert(jpeg.size() - 2, one);
    return jpeg;
}

qsizetype chunkAt(const QByteArray& png, const char type[4])
{
    qsizetype at = 8;
    while (at + 8 <= png.size()) {
        if (png.mid(at + 4, 4) == QByteArray(type, 4))
            return at;
        const quint32 length = quint32(quint8(png[at])) << 24 | quint32(quint8(png[at + 1])) << 16
                               | quint32(quint8(png[at + 2])) << 8 | quint32(quint8(png[at + 3]));
        at += 12 + qsizetype(length);
    }
    return -1;
}

} // namespace zw::fixtures
