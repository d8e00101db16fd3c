#pragma once
// ZIP archives built byte by byte, so that a test can make every lie a
// hostile pack may tell: sizes that disagree with the data, links, names that
// leave the pack, ten thousand entries.

#include <QByteArray>
#include <vector>

namespace zw::fixtures {

struct ZipEntry {
    QByteArray name;
    QByteArray data;            // the entry's content, before compression
    bool deflate = false;       // deflated, else stored
    qint64 declaredSize = -1;   // the uncompressed size the headers claim; -1: the true one
    unsigned mode = 0100644;    // Unix mode in the central directory (0120777: a symlink)
};

// What the end record says past the entries themselves.
struct ZipEnd {
    qint64 declaredEntries = -1; // the entry count it claims; -1: the true one
    QByteArray comment;          // the archive comment after it
};

QByteArray zipBytes(const std::vector<ZipEntry>& entries, const ZipEnd& end = {});

// An end record of one disk: `entries` records, `directorySize` bytes long
// from `directoryAt`, followed by a comment of `commentLength` bytes.
QByteArray endRecordBytes(quint32 entries, quint32 directorySize, quint32 directoryAt, quint32 commentLength);

} // namespace zw::fixtures
