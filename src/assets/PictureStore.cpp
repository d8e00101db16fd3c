// The pictures built into the program, taken once when the store is made.
// Full-window pictures stay 8-bit indexed: a level is a quarter of its 32-bit
// size, and the colour query reads the colour table directly. They are built
// in already unpacked, so the store points at them where they lie in the
// program instead of decoding them.

#include "assets/PictureStore.h"

#include "base/ColorKey.h"
#include "assets/PackedPicture.h"
#include "base/RuntimeError.h"

#include <QResource>
#include <mutex>

// The pictures are compiled into the static core library, whose resource
// initialiser the linker would drop; it has to be pulled in by name, from the
// global namespace.
static void initPictureResources()
{
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(pointers);
}

namespace zw {

PictureStore::PictureStore()
    : PictureStore(&PictureStore::loadBuiltIn)
{
}

PictureStore::PictureStore(const Loader& load)
    : picture1_(load(QStringLiteral("pointer-run")))
    , picture2_(load(QStringLiteral("pointer-idle")))
    , picture4_(load(QStringLiteral("menu-cs")))
    , picture5_(load(QStringLiteral("menu-en")))
{
    // The menu slot starts as the Czech menu itself, shared, not a copy.
    picture3_[0] = picture4_;
    for (int level = FirstMaze; level < LevelCount; ++level)
        picture3_[level] = load(levelName(level));
}

const QImage& PictureStore::Picture3(std::int16_t index) const
{
    if (index < 0 || index >= LevelCount)
        throw RuntimeError::noSuchControlElement(index);
    return picture3_[index];
}

QString PictureStore::levelName(int level)
{
    if (level == MenuLevel)
        return QStringLiteral("menu-cs");
    if (level == ClosingLevel)
        return QStringLiteral("closing");
    return levelPictureName(level);
}

QImage PictureStore::loadBuiltIn(const QString& name)
{
    static std::once_flag resourcesReady;
    std::call_once(resourcesReady, initPictureResources);

    const QString path = QStringLiteral(":/pictures/") + name;
    QImage picture;
    // Full-window pictures are packed and compiled in uncompressed (see
    // pictures.cmake), so they are used where they lie; the two pointers are
    // small PNG files with an alpha mask.
    const QResource packed(path + QStringLiteral(".zwp"));
    if (packed.isValid())
        picture = unpackPicture(packed.data(), packed.size());
    else
        picture.load(path + QStringLiteral(".png"));
    if (picture.isNull())
        throw RuntimeError::invalidPicture(); // a picture missing from the build
    return picture;
}

std::int32_t pixelColour(const QImage& picture, int x, int y)
{
    if (!picture.valid(x, y))
        return NoColour;
    if (picture.format() == QImage::Format_Indexed8) {
        const int index = picture.constScanLine(y)[x];
        return index < picture.colorCount() ? fromRgb(picture.color(index)) : NoColour;
    }
    return fromRgb(picture.pixel(x, y));
}

} // namespace zw
