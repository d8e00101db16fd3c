#include "check/Snap.h"

#include "base/ColorKey.h"
#include "check/FloodFill.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zw::check {

namespace {

// How far (in RGB) a colour may be from a key colour and still be that
// colour: noise, not paint. Key colours lie at least 45 apart.
constexpr int Close = 20;
// How far a colour may be from a blend of two colours and still be that blend.
constexpr int Fits = 20;
// The two sides of a soft edge differ at least this much.
constexpr int Edge = 40;
// Painted colours count within this many pixels of an edge pixel.
constexpr int Reach = 2;

using Mask = std::uint16_t; // one bit per key colour

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb rgbOf(QRgb c) { return {qRed(c), qGreen(c), qBlue(c)}; }
int dot(Rgb a, Rgb b) { return a.r * b.r + a.g * b.g + a.b * b.b; }
Rgb minus(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }

QRgb onWhite(QRgb c)
{
    const int a = qAlpha(c);
    auto mix = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

// p as a blend of colours x and y: the share t of y, and the squared
// distance from p to that blend.
struct Fit {
    float t = 0;
    float error = 0;
};

Fit blendOf(Rgb p, Rgb x, Rgb y)
{
    const Rgb v = minus(y, x), d = minus(p, x);
    const int length = dot(v, v);
    const float t = length == 0 ? 0.f : std::clamp(float(dot(d, v)) / float(length), 0.f, 1.f);
    const float er = float(d.r) - t * float(v.r), eg = float(d.g) - t * float(v.g), eb = float(d.b) - t * float(v.b);
    return {t, er * er + eg * eg + eb * eb};
}

const std::array<Rgb, KeyCount>& keyColours()
{
    static const std::array<Rgb, KeyCount> colours = [] {
        std::array<Rgb, KeyCount> c;
        for (int k = 0; k < KeyCount; ++k)
            c[std::size_t(k)] = rgbOf(keyRgb(Key(k)));
        return c;
    }();
    return colours;
}

// The best explanation of p by the key colours in `allowed`: a blend of two
// of them or one alone. The colour it holds most of, and how badly it fits.
struct Explained {
    Key key = Key::Inert;
    float error = 0;
};

Explained explain(Rgb p, Mask allowed)
{
    const auto& key = keyColours();
    Explained best{Key::Inert, 1e9f};
    for (int x = 0; x < KeyCount; ++x) {
        if (!(allowed >> x & 1))
            continue;
        for (int y = x; y < KeyCount; ++y) {
            if (!(allowed >> y & 1))
                continue;
            const Fit f = blendOf(p, key[std::size_t(x)], key[std::size_t(y)]);
            if (f.error < best.error)
                best = {Key(f.t <= 0.5f ? x : y), f.error};
        }
    }
    return best;
}

// The colour that every blend fitting p holds most of, of those whose other
// colour is `around`; Inert when none fits or they disagree.
Key onlyExplanation(Rgb p, Mask around)
{
    const auto& key = keyColours();
    Key found = Key::Inert;
    for (int x = 0; x < KeyCount; ++x)
        for (int y = x + 1; y < KeyCount; ++y) {
            const Fit f = blendOf(p, key[std::size_t(x)], key[std::size_t(y)]);
            const int most = f.t <= 0.5f ? x : y, other = most == x ? y : x;
            if (f.error > float(Fits * Fits) || !(around >> other & 1))
                continue;
            if (found != Key::Inert && found != Key(most))
                return Key::Inert;
            found = Key(most);
        }
    return found;
}

// The key colours that a blend of two others also makes (the greys of black
// and white, dark red of red and black), each with the colours of those
// blends: beside them a pixel of that colour may be a soft edge.
const std::array<Mask, KeyCount>& blendsMaking()
{
    static const std::array<Mask, KeyCount> makers = [] {
        std::array<Mask, KeyCount> m{};
        const auto& key = keyColours();
        for (int c = 0; c < KeyCount; ++c)
            for (int x = 0; x < KeyCount; ++x)
                for (int y = x + 1; y < KeyCount; ++y) {
                    if (x == c || y == c)
                        continue;
                    const Fit f = blendOf(key[std::size_t(c)], key[std::size_t(x)], key[std::size_t(y)]);
                    if (f.error <= float(Close * Close) && f.t > 0.1f && f.t < 0.9f)
                        m[std::size_t(c)] |= Mask(1u << x | 1u << y);
                }
        return m;
    }();
    return makers;
}

Key nearestKey(Rgb p)
{
    const auto& key = keyColours();
    int best = 0, bestDistance = 1 << 30;
    for (int k = 0; k < KeyCount; ++k) {
        const Rgb d = minus(p, key[std::size_t(k)]);
        if (dot(d, d) < bestDistance) {
            best = k;
            bestDistance = dot(d, d);
        }
    }
    return Key(best);
}

Key closeKey(Rgb p)
{
    const Key k = nearestKey(p);
    const Rgb d = minus(p, keyColours()[std::size_t(k)]);
    return dot(d, d) <= Close * Close ? k : Key::Inert;
}

bool acts(Key k) { return k != Key::Info && k != Key::Wall && k != Key::Inert; }

class Snapper {
public:
    explicit Snapper(const QImage& argb) : w_(argb.width()), h_(argb.height())
    {
        const std::size_t n = std::size_t(w_) * h_;
        colour_.resize(n);
        exact_.resize(n);
        close_.resize(n);
        nearest_.resize(n);
        for (int y = 0; y < h_; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < w_; ++x) {
                const std::size_t i = index(x, y);
                colour_[i] = rgbOf(onWhite(line[x]));
                exact_[i] = keyOf(line[x]);
                close_[i] = exact_[i] != Key::Inert ? exact_[i] : closeKey(colour_[i]);
                nearest_[i] = nearestKey(colour_[i]);
            }
        }
    }

    std::vector<Key> snap()
    {
        const std::size_t n = colour_.size();
        std::vector<Key> painted(n), out(n);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                painted[index(x, y)] = paintedAt(x, y);
        near_.assign(n, 0);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                for (int dy = -Reach; dy <= Reach; ++dy)
                    for (int dx = -Reach; dx <= Reach; ++dx)
                        if (dx * dx + dy * dy <= Reach * Reach && inside(x + dx, y + dy)
                            && painted[index(x + dx, y + dy)] != Key::Inert)
                            near_[index(x, y)] |= Mask(1u << int(painted[index(x + dx, y + dy)]));
        std::vector<Mask> refused(n, 0);
        for (std::size_t i = 0; i < n; ++i)
            out[i] = painted[i] != Key::Inert ? painted[i] : edgeColour(i, 0);
        // A colour that acts only where it was painted: a piece without a
        // painted pixel gives its pixels their next best colour, until every
        // piece has one.
        for (bool again = true; again;) {
            again = false;
            for (int k = 0; k < KeyCount; ++k) {
                if (!acts(Key(k)))
                    continue;
                std::vector<QPoint> seeds;
                for (int y = 0; y < h_; ++y)
                    for (int x = 0; x < w_; ++x)
                        if (painted[index(x, y)] == Key(k))
                            seeds.emplace_back(x, y);
                std::vector<std::uint8_t> joined(n, 0);
                floodFill(QSize(w_, h_), seeds, Touch::SidesAndCorners, joined,
                          [&](int x, int y) { return out[index(x, y)] == Key(k); }, [](QPoint) {});
                for (std::size_t i = 0; i < n; ++i)
                    if (out[i] == Key(k) && !joined[i]) {
                        refused[i] |= Mask(1u << k);
                        out[i] = edgeColour(i, refused[i]);
                        again = true;
                    }
            }
        }
        return out;
    }

private:
    std::size_t index(int x, int y) const { return std::size_t(y) * w_ + x; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    // In the middle of a soft edge: between the colours of two opposite
    // neighbours that differ clearly, as a blend of them. A pixel in the key
    // counts only where the edge runs on soft, beside a neighbour outside the
    // key along it: a line painted hard in a key colour between two others
    // (a dark red ring between a red disc and the path) stays as painted.
    bool midEdge(int x, int y) const
    {
        static constexpr int steps[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
        const std::size_t i = index(x, y);
        for (const auto& s : steps) {
            if (!inside(x - s[0], y - s[1]) || !inside(x + s[0], y + s[1]))
                continue;
            const std::size_t a = index(x - s[0], y - s[1]), b = index(x + s[0], y + s[1]);
            if (exact_[i] != Key::Inert && !softAlong(x, y, -s[1], s[0]))
                continue;
            const Rgb v = minus(colour_[b], colour_[a]);
            if (dot(v, v) < Edge * Edge)
                continue;
            const Fit f = blendOf(colour_[i], colour_[a], colour_[b]);
            if (f.t > 0.15f && f.t < 0.85f && f.error <= float(Fits * Fits))
                return true;
        }
        return false;
    }

    // A neighbour outside the key on either side of (x, y) in direction (dx, dy).
    bool softAlong(int x, int y, int dx, int dy) const
    {
        for (const int side : {-1, 1})
            if (inside(x + side * dx, y + side * dy) && exact_[index(x + side * dx, y + side * dy)] == Key::Inert)
                return true;
        return false;
    }

    // The colour painted at (x, y), or Inert where it is an edge.
    Key paintedAt(int x, int y) const
    {
        const std::size_t i = index(x, y);
        if (midEdge(x, y))
            return Key::Inert;
        const Key c = close_[i];
        if (exact_[i] != Key::Inert)
            return lone(x, y, c) && blendable(x, y, c) ? Key::Inert : c;
        if (c != Key::Inert)
            return blendable(x, y, c) && !plateau(x, y, c) ? Key::Inert : c;
        // The middle of a thin soft stroke on a colour around it, unless the
        // stroke's colour could as well be a blend of colours around it.
        const Mask around = nearestAround(x, y);
        const Key k = onlyExplanation(colour_[i], around);
        return k == Key::Inert || blendable(x, y, k) || !(around >> int(k) & 1) ? Key::Inert : k;
    }

    // The nearest key colours of the pixels within reach of (x, y).
    Mask nearestAround(int x, int y) const
    {
        Mask around = 0;
        for (int dy = -Reach; dy <= Reach; ++dy)
            for (int dx = -Reach; dx <= Reach; ++dx)
                if (dx * dx + dy * dy <= Reach * Reach && inside(x + dx, y + dy))
                    around |= Mask(1u << int(nearest_[index(x + dx, y + dy)]));
        return around;
    }

    // Colour c at (x, y) could be a soft edge between two other colours:
    // two others blend into c, and one of them is the nearest key colour of
    // a pixel within reach. A soft stroke of black on white is grey in its
    // middle, and a red one on black dark red.
    bool blendable(int x, int y, Key c) const { return blendsMaking()[std::size_t(c)] & nearestAround(x, y); }

    // No neighbour of (x, y) is close to c, and one is outside the key: a
    // pixel of c there is a blend that hit the key by chance (a JPEG's).
    bool lone(int x, int y, Key c) const
    {
        bool soft = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if ((dx == 0 && dy == 0) || !inside(x + dx, y + dy))
                    continue;
                const std::size_t n = index(x + dx, y + dy);
                if (close_[n] == c)
                    return false;
                soft = soft || exact_[n] == Key::Inert;
            }
        return soft;
    }

    // Every neighbour of (x, y) is close to c too: an area painted in c.
    bool plateau(int x, int y, Key c) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (inside(x + dx, y + dy) && close_[index(x + dx, y + dy)] != c)
                    return false;
        return true;
    }

    // An edge pixel's colour from the colours painted near it, less the refused ones.
    Key edgeColour(std::size_t i, Mask refused) const
    {
        const Mask nearby = Mask(near_[i] & ~refused);
        const Mask blackAndWhite = Mask((1u << int(Key::Info) | 1u << int(Key::Wall)) & ~refused);
        if (nearby) {
            const Explained e = explain(colour_[i], nearby);
            if (e.error <= float(Fits * Fits))
                return e.key;
            return explain(colour_[i], Mask(nearby | blackAndWhite)).key;
        }
        const Rgb p = colour_[i];
        return qGray(p.r, p.g, p.b) < 128 ? Key::Info : Key::Wall;
    }

    int w_, h_;
    std::vector<Rgb> colour_; // laid on white
    std::vector<Key> exact_;  // the key colour the pixel is exactly, or Inert
    std::vector<Key> close_;  // the key colour the pixel is close to, or Inert
    std::vector<Key> nearest_; // the key colour nearest to the pixel's
    std::vector<Mask> near_;  // the colours painted within Reach
};

} // namespace

Snapped snapToKeyColours(const QImage& picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const std::vector<Key> keys = Snapper(argb).snap();
    Snapped out;
    out.image = QImage(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const Key k = keys[std::size_t(y) * argb.width() + x];
            to[x] = keyRgb(k);
            if (to[x] != in[x]) {
                ++out.changed;
                ++out.changedTo[std::size_t(k)];
            }
        }
    }
    return out;
}

} // namespace zw::check
