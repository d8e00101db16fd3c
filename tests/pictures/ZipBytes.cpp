#include "ZipBytes.h"

#include <zlib.h>

namespace zw::fixtures {

namespace {

void put(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray rawDeflate(const QByteArray& data)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.truncate(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

} // namespace

QByteArray endRecordBytes(quint32 entries, quint32 directorySize, quint32 directoryAt, quint32 commentLength)
{
    QByteArray out;
    put(out, 0x06054b50, 4);
    put(out, 0, 2);
    put(out, 0, 2);
    put(out, entries, 2);
    put(out, entries, 2);
    put(out, directorySize, 4);
    put(out, directoryAt, 4);
    put(out, commentLength, 2);
    return out;
}

QByteArray zipBytes(const std::vector<ZipEntry>& entries, const ZipEnd& end)
{
    QByteArray out, central;
    for (const ZipEntry& e : entries) {
        const QByteArray stored = e.deflate ? rawDeflate(e.data) : e.data;
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), uInt(e.data.size())));
        const quint32 size = quint32(e.declaredSize < 0 ? e.data.size() : e.declaredSize);
        const quint32 offset = quint32(out.size());
        const quint32 method = e.deflate ? 8 : 0;
        // From "version needed" to the extra field's length, the two
        // headers say the same.
        auto common = [&](QByteArray& to) {
            put(to, 20, 2);
            put(to, 0, 2);
            put(to, method, 2);
            put(to, 0, 2);
            put(to, 0x21, 2);
            put(to, crc, 4);
            put(to, quint32(stored.size()), 4);
            put(to, size, 4);
            put(to, quint32(e.name.size()), 2);
            put(to, 0, 2);
        };
        put(out, 0x04034b50, 4);
        common(out);
        out += e.name;
        out += stored;

        put(central, 0x02014b50, 4);
        put(central, (3 << 8) | 20, 2); // made on Unix: the mode is in the external attributes
        common(central);
        put(central, 0, 2);
        put(central, 0, 2);
        put(central, 0, 2);
        put(central, quint32(e.mode) << 16, 4);
        put(central, offset, 4);
        central += e.name;
    }
    const quint32 centralAt = quint32(out.size());
    out += central;
    const quint32 count = quint32(end.declaredEntries < 0 ? qint64(entries.size()) : end.declaredEntries);
    out += endRecordBytes(count, quint32(central.size()), centralAt, quint32(end.comment.size()));
    out += end.comment;
    return out;
}

} // namespace zw::fixtures
