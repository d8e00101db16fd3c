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

QByteArray zipBytes(const std::vector<ZipEntry>& entries);

} // namespace zw::fixtures
