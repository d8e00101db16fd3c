#include "check/PictureFile.h"

#include "check/FormatBounds.h"

#include <QBuffer>
#include <QImageReader>

#include <cstring>
#include <vector>
#include <zlib.h>

namespace zw::check {

namespace {

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int SignatureSize = 8;

quint32 be32(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | quint32(u[3]);
}

void putBe32(QByteArray& out, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

// One chunk as it lies in the file: its type and its data.
struct Chunk {
    QByteArray type;
    const char* data;
    quint32 length;
};

void appendChunk(QByteArray& out, const char* type, const char* data, quint32 length)
{
    putBe32(out, length);
    const qsizetype typeAt = out.size();
    out.append(type, 4);
    out.append(data, length);
    const uLong crc = ::crc32(0L, reinterpret_cast<const Bytef*>(out.constData() + typeAt), uInt(4 + length));
    putBe32(out, quint32(crc));
}

struct Header {
    quint32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    bool interlaced = false;
};

bool readHeader(const Chunk& ihdr, Header& h)
{
    if (ihdr.length != 13)
        return false;
    h.width = be32(ihdr.data);
    h.height = be32(ihdr.data + 4);
    h.bitDepth = quint8(ihdr.data[8]);
    h.colourType = quint8(ihdr.data[9]);
    const int compression = quint8(ihdr.data[10]), filter = quint8(ihdr.data[11]), interlace = quint8(ihdr.data[12]);
    h.interlaced = interlace == 1;
    const bool depthFits = [&] {
        switch (h.colourType) {
        case 0: return h.bitDepth == 1 || h.bitDepth == 2 || h.bitDepth == 4 || h.bitDepth == 8 || h.bitDepth == 16;
        case 3: return h.bitDepth == 1 || h.bitDepth == 2 || h.bitDepth == 4 || h.bitDepth == 8;
        case 2: case 4: case 6: return h.bitDepth == 8 || h.bitDepth == 16;
        default: return false;
        }
    }();
    return h.width > 0 && h.height > 0 && depthFits && compression == 0 && filter == 0 && interlace <= 1;
}

int channels(int colourType)
{
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// The bytes the image data inflates to: every row of every pass, each with
// its filter byte.
qint64 inflatedSize(const Header& h)
{
    const qint64 bitsPerPixel = qint64(channels(h.colourType)) * h.bitDepth;
    auto rows = [&](qint64 width, qint64 height) {
        return width == 0 || height == 0 ? 0 : height * (1 + (width * bitsPerPixel + 7) / 8);
    };
    if (!h.interlaced)
        return rows(h.width, h.height);
    // The seven passes of Adam7: first column and row, and their steps.
    static constexpr int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    qint64 total = 0;
    for (const auto& p : passes) {
        const qint64 w = h.width > quint32(p[0]) ? (h.width - p[0] + p[2] - 1) / p[2] : 0;
        const qint64 hh = h.height > quint32(p[1]) ? (h.height - p[1] + p[3] - 1) / p[3] : 0;
        total += rows(w, hh);
    }
    return total;
}

// Inflates the image data, split over its chunks, into nowhere, and tells
// how many of its bytes the picture's rows take: the stream must hold
// exactly `needed` bytes. -1 when it holds fewer, is broken, or goes on
// after them (stopped as soon as it does, so a stream of gigabytes costs no
// more than the picture).
qint64 compressedLength(const std::vector<Chunk>& data, qint64 needed, DecodedPicture::Problem& problem)
{
    z_stream z {};
    if (::inflateInit(&z) != Z_OK) {
        problem = DecodedPicture::Damaged;
        return -1;
    }
    unsigned char sink[64 * 1024];
    qint64 out = 0, in = 0;
    int result = Z_OK;
    problem = DecodedPicture::None;
    for (const Chunk& c : data) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(c.data));
        z.avail_in = c.length;
        while (z.avail_in > 0 && result == Z_OK) {
            // One byte past the rows is enough to know there is more.
            const qint64 room = qMin<qint64>(sizeof sink, needed + 1 - out);
            z.next_out = sink;
            z.avail_out = uInt(room);
            result = ::inflate(&z, Z_NO_FLUSH);
            out += room - z.avail_out;
            if (out > needed) {
                problem = DecodedPicture::DataPastRows;
                break;
            }
            if (result == Z_BUF_ERROR) { // this chunk's input is used up: on to the next
                result = Z_OK;
                break;
            }
        }
        in += c.length - z.avail_in;
        if (problem != DecodedPicture::None || result != Z_OK)
            break;
    }
    ::inflateEnd(&z);
    if (problem != DecodedPicture::None)
        return -1;
    // Every row there: the end of the stream may be missing, as a decoder
    // reads no further than the last row.
    if ((result == Z_STREAM_END || result == Z_OK) && out == needed)
        return in;
    problem = DecodedPicture::Damaged;
    return -1;
}

// The PNG in file rebuilt from the chunks that decide its pixels, its image
// data cut to the stream that holds the rows; or a problem.
DecodedPicture::Problem keepPixelChunks(const QByteArray& file, QSize wanted, QSize& size, QByteArray& kept)
{
    const char* at = file.constData() + SignatureSize;
    const char* const end = file.constData() + file.size();
    std::vector<Chunk> imageData, beforeData;
    Header header;
    bool haveHeader = false, ended = false;
    while (!ended) {
        if (end - at < 12)
            return DecodedPicture::Damaged;
        const quint32 length = be32(at);
        if (length > 0x7FFFFFFFu || quint64(end - at - 12) < length)
            return DecodedPicture::Damaged;
        const Chunk c{QByteArray(at + 4, 4), at + 8, length};
        for (char ch : c.type)
            if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')))
                return DecodedPicture::Damaged;
        const bool critical = c.type[0] >= 'A' && c.type[0] <= 'Z';
        const quint32 crc = quint32(::crc32(0L, reinterpret_cast<const Bytef*>(at + 4), uInt(4 + length)));
        at += 12 + qsizetype(length);
        // A damaged chunk the picture does not need is passed over, as decoders do.
        if (crc != be32(at - 4)) {
            if (critical)
                return DecodedPicture::Damaged;
            continue;
        }
        if (!haveHeader) {
            if (c.type != "IHDR" || !readHeader(c, header))
                return DecodedPicture::Damaged;
            haveHeader = true;
            size = QSize(int(qMin<quint32>(header.width, 0x7FFFFFFF)), int(qMin<quint32>(header.height, 0x7FFFFFFF)));
            // Told before a byte of the data is inflated.
            if (size != wanted)
                return DecodedPicture::WrongSize;
            continue;
        }
        if (c.type == "IDAT") {
            if (!imageData.empty() && imageData.back().data + imageData.back().length + 12 != c.data)
                return DecodedPicture::Damaged; // image data comes in one run of chunks
            imageData.push_back(c);
        } else if (c.type == "IEND") {
            ended = true;
        } else if (c.type == "PLTE" || (c.type == "tRNS" && imageData.empty())) {
            if (!imageData.empty())
                return DecodedPicture::Damaged;
            beforeData.push_back(c);
        } else if (critical) {
            return DecodedPicture::Damaged; // a chunk no decoder knows how to do without
        }
        // Any other chunk (text, profiles, times...) leaves no mark on the pixels.
    }
    if (imageData.empty())
        return DecodedPicture::Damaged;
    DecodedPicture::Problem problem = DecodedPicture::None;
    const qint64 streamLength = compressedLength(imageData, inflatedSize(header), problem);
    if (problem != DecodedPicture::None)
        return problem;

    kept.reserve(SignatureSize + 25 + 12 * qsizetype(beforeData.size()) + 12 + streamLength + 12);
    kept.append(PngSignature, SignatureSize);
    appendChunk(kept, "IHDR", file.constData() + SignatureSize + 8, 13);
    for (const Chunk& c : beforeData)
        appendChunk(kept, c.type.constData(), c.data, c.length);
    QByteArray stream;
    stream.reserve(streamLength);
    for (const Chunk& c : imageData) {
        const qint64 take = qMin<qint64>(c.length, streamLength - stream.size());
        stream.append(c.data, take);
    }
    appendChunk(kept, "IDAT", stream.constData(), quint32(stream.size()));
    appendChunk(kept, "IEND", nullptr, 0);
    return DecodedPicture::None;
}

// Decoders speak English on stderr ("libpng warning: ...") about files a
// player cannot do anything with; what matters reaches the player as a
// finding. Their messages are dropped while a picture is decoded (on the
// thread that opens the folder, before the game runs anything else).
class QuietDecoders {
public:
    QuietDecoders() : previous_(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
    ~QuietDecoders() { qInstallMessageHandler(previous_); }
    QuietDecoders(const QuietDecoders&) = delete;
    QuietDecoders& operator=(const QuietDecoders&) = delete;

private:
    QtMessageHandler previous_;
};

QImage decodeWhole(const QByteArray& bytes, const char* format)
{
    const QuietDecoders quiet;
    QByteArray copy = bytes; // shared, not copied
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    return reader.read();
}

} // namespace

DecodedPicture decodePicture(QByteArray file, QSize wanted)
{
    DecodedPicture result;
    if (file.startsWith(QByteArray::fromRawData(PngSignature, SignatureSize))) {
        QByteArray kept;
        result.problem = keepPixelChunks(file, wanted, result.size, kept);
        file = QByteArray();
        if (result.problem != DecodedPicture::None)
            return result;
        result.image = decodeWhole(kept, "png");
    } else {
        const QuietDecoders quiet;
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(false);
        const QByteArray format = reader.format();
        if (format != "bmp" && format != "gif" && format != "jpeg") {
            // An icon may hold a PNG that Qt would decode past every bound
            // above; no paint program saves a level as one.
            result.problem = format == "png" ? DecodedPicture::Damaged : DecodedPicture::UnknownFormat;
            return result;
        }
        // The header tells the size; nothing is decoded unless it is the one wanted.
        result.size = reader.size();
        if (!result.size.isValid()) {
            result.problem = DecodedPicture::Damaged;
            return result;
        }
        if (result.size != wanted) {
            result.problem = DecodedPicture::WrongSize;
            return result;
        }
        result.problem = format == "gif" ? boundGif(file) : format == "jpeg" ? boundJpeg(file) : DecodedPicture::None;
        if (result.problem != DecodedPicture::None)
            return result;
        result.image = reader.read();
    }
    if (result.image.isNull() || result.image.size() != wanted) {
        result.image = QImage();
        result.problem = DecodedPicture::Damaged;
    }
    return result;
}

} // namespace zw::check
