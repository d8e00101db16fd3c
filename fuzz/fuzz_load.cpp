// Any four stored texts through the continue item of a fresh game. The
// first byte says which keys exist (bits 0 to 3), whether the texts are
// UTF-8 or Latin-1 (bit 4) and whether the user writes a decimal comma
// (bit 5); the rest is the texts, separated by newlines.

#include "BuiltInPictures.h"
#include "LoadCheck.h"

#include <QByteArray>
#include <QList>
#include <QLocale>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zw;
using namespace zw::reliability;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const PictureStore& pictures = builtInPictures();
    static const QPointF spot = continueSpot(builtInAtlas(), pictures);
    if (size == 0)
        return 0;

    const std::uint8_t how = data[0];
    QLocale::setDefault((how & 0x20) ? QLocale(QLocale::Czech, QLocale::Czechia) : QLocale::c());
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)).split('\n');

    StoredTexts stored;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!(how & (1u << i)))
            continue;
        const QByteArray bytes = qsizetype(i) < parts.size() ? parts[qsizetype(i)] : QByteArray();
        stored[i] = (how & 0x10) ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    }

    const LoadOutcome outcome = continueFromMenu(stored, pictures, spot);
    if (const auto complaint = judgeLoad(stored, outcome)) {
        std::fprintf(stderr, "%s: %s\n", describe(stored).c_str(), complaint->c_str());
        std::abort();
    }
    return 0;
}
