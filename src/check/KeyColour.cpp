#include "check/KeyColour.h"
#include "base/ColorKey.h"

#include <algorithm>

namespace zw::check {

namespace {

struct KeyEntry {
    Key key;
    QRgb rgb;
    const char* colour;
    const char* role;
};

constexpr KeyEntry keyTable[KeyCount] = {
    {Key::Info, keyrgb::Black, "black", "info"},
    {Key::Continue, keyrgb::LightGrey, "light grey", "continue"},
    {Key::NewGame, keyrgb::Grey, "grey", "new game"},
    {Key::Quit, keyrgb::DarkGrey, "dark grey", "quit"},
    {Key::Link, keyrgb::Orange, "orange", "link"},
    {Key::Start, keyrgb::Red, "red", "start"},
    {Key::Wall, keyrgb::White, "white", "wall"},
    {Key::Goal, keyrgb::Green, "green", "goal"},
    {Key::Menu, keyrgb::DarkRed, "dark red", "menu"},
};

} // namespace

Key keyOf(QRgb rgb)
{
    // A pixel that is not fully opaque is not what the window would show.
    if (qAlpha(rgb) != 255)
        return Key::Inert;
    for (const KeyEntry& e : keyTable)
        if (e.rgb == rgb)
            return e.key;
    return Key::Inert;
}

QRgb keyRgb(Key k)
{
    return keyTable[int(k)].rgb;
}

QString colourName(Key k)
{
    return k == Key::Inert ? QStringLiteral("inert") : QString::fromLatin1(keyTable[int(k)].colour);
}

QString keyName(Key k)
{
    if (k == Key::Inert)
        return QStringLiteral("inert colour");
    return QStringLiteral("%1 (%2)").arg(QLatin1String(keyTable[int(k)].colour), QLatin1String(keyTable[int(k)].role));
}

KeyMap::KeyMap(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    w_ = argb.width();
    h_ = argb.height();
    keys_.resize(std::size_t(w_) * h_);
    rgb_.resize(std::size_t(w_) * h_);
    for (int y = 0; y < h_; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w_; ++x) {
            rgb_[std::size_t(y) * w_ + x] = line[x];
            keys_[std::size_t(y) * w_ + x] = keyOf(line[x]);
        }
    }
}

std::vector<QPoint> KeyMap::pixelsOf(Key k) const
{
    return pixelsOf(k, QRect(0, 0, w_, h_));
}

std::vector<QPoint> KeyMap::pixelsOf(Key k, const QRect& within) const
{
    const QRect r = within.intersected(QRect(0, 0, w_, h_));
    std::vector<QPoint> out;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (at(x, y) == k)
                out.emplace_back(x, y);
    return out;
}

int KeyMap::count(Key k) const
{
    int n = 0;
    for (Key v : keys_)
        n += v == k;
    return n;
}

QRect KeyMap::boundsOf(Key k) const
{
    int x1 = w_, y1 = h_, x2 = -1, y2 = -1;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (at(x, y) == k) {
                x1 = std::min(x1, x);
                x2 = std::max(x2, x);
                y1 = std::min(y1, y);
                y2 = std::max(y2, y);
            }
    return x2 < 0 ? QRect() : box(x1, y1, x2, y2);
}

std::vector<KeyMap::Piece> KeyMap::piecesOf(Key k, Touch touch) const
{
    std::vector<std::uint8_t> seen(keys_.size(), 0);
    std::vector<Piece> out;
    for (const QPoint& seed : pixelsOf(k)) {
        if (seen[std::size_t(seed.y()) * w_ + seed.x()])
            continue;
        Piece piece{seed, QRect(seed, QSize(1, 1)), 0};
        floodFill(QSize(w_, h_), {seed}, touch, seen, [&](int x, int y) { return at(x, y) == k; },
                  [&piece](QPoint p) {
                      piece.bounds |= QRect(p, QSize(1, 1));
                      ++piece.size;
                  });
        out.push_back(piece);
    }
    return out;
}

std::vector<QPoint> KeyMap::pieceAt(QPoint first, Touch touch) const
{
    std::vector<std::uint8_t> seen(keys_.size(), 0);
    std::vector<QPoint> out;
    if (!contains(first.x(), first.y()))
        return out;
    const Key k = at(first);
    floodFill(QSize(w_, h_), {first}, touch, seen, [&](int x, int y) { return at(x, y) == k; },
              [&out](QPoint p) { out.push_back(p); });
    return out;
}

QImage keyIndexed(const QImage& picture)
{
    if (picture.format() == QImage::Format_Indexed8)
        return picture;
    QList<QRgb> key;
    for (const KeyEntry& e : keyTable)
        key.append(e.rgb);
    return picture.convertToFormat(QImage::Format_Indexed8, key, Qt::ThresholdDither | Qt::AvoidDither);
}

QString pointText(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

QString boxText(const QRect& r)
{
    return QStringLiteral("(%1,%2)-(%3,%4)").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
}

} // namespace zw::check
