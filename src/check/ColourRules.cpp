// Which key colours a picture carries, and the pixels outside the key. Every
// area that means something is painted in its key colour exactly; a pixel of
// any other colour does nothing in the game, so stray ones (anti-aliased edges,
// dithering) are faults, except the few that two levels carry on purpose.

#include "check/Rules.h"


namespace zw::check {

namespace {

// Required and forbidden key colours per kind of picture.
struct ColourSet {
    std::vector<Key> required;
    std::vector<Key> forbidden;
};

ColourSet coloursFor(PictureKind kind)
{
    switch (kind) {
    case PictureKind::Level:
        return {{Key::Info, Key::Wall, Key::Start, Key::Goal, Key::Link, Key::Menu},
                {Key::Continue, Key::NewGame, Key::Quit}};
    case PictureKind::Menu:
        return {{Key::Info, Key::Continue, Key::NewGame, Key::Quit, Key::Link, Key::Start, Key::Wall},
                {Key::Menu, Key::Goal}};
    case PictureKind::Closing:
        return {{Key::Info, Key::Link, Key::Start, Key::Wall, Key::Menu},
                {Key::Goal, Key::Continue, Key::NewGame, Key::Quit}};
    case PictureKind::Pointer:
        break;
    }
    return {};
}

int expectedInert(const PictureInfo& info)
{
    return info.kind == PictureKind::Level ? levelFacts(info.level).inertPixels : 0;
}

} // namespace

void checkKeyColours(const PictureInfo& info, const KeyMap& keys, Findings& out)
{
    const ColourSet set = coloursFor(info.kind);
    for (Key k : set.required)
        if (keys.count(k) == 0)
            out.add(QStringLiteral("key colours"), QStringLiteral("no %1 pixels").arg(keyName(k)));
    for (Key k : set.forbidden) {
        const std::vector<QPoint> found = keys.pixelsOf(k);
        if (!found.empty())
            out.add(QStringLiteral("key colours"),
                    QStringLiteral("%1 does not belong here: %2").arg(keyName(k), countAndFirst(found)),
                    found.front());
    }
}

void checkInertPixels(const PictureInfo& info, const KeyMap& keys, Findings& out)
{
    const std::vector<QPoint> inert = keys.pixelsOf(Key::Inert);
    const int expected = expectedInert(info);
    if (int(inert.size()) != expected) {
        QString detail = QStringLiteral("expected %1 pixels outside the colour key, found %2")
                             .arg(expected)
                             .arg(inert.size());
        if (!inert.empty()) {
            const QPoint p = inert.front();
            detail += QStringLiteral(" (first at %1, #%2)")
                          .arg(pointText(p))
                          .arg(keys.rgb(p.x(), p.y()) & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
        }
        out.add(QStringLiteral("inert pixels"), detail, inert.empty() ? QPoint(-1, -1) : inert.front());
    }
    // The deliberate ones are dark specks along the edge of the path (the cat's
    // fuzzy fur, a speck beside the wiggly path): each lies within two pixels
    // of black, as a hair of fur may be two specks long.
    for (const QPoint& p : inert) {
        if (expected == 0)
            break;
        bool nearBlack = false;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (keys.contains(p.x() + dx, p.y() + dy) && keys.at(p.x() + dx, p.y() + dy) == Key::Info)
                    nearBlack = true;
        const QRgb c = keys.rgb(p.x(), p.y());
        const bool dark = qGray(c) < 128;
        if (!nearBlack || !dark) {
            out.add(QStringLiteral("inert pixels"),
                    QStringLiteral("%1 at %2 is not a dark speck on the edge of the path")
                        .arg(QStringLiteral("#%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0')), pointText(p)),
                    p);
            break;
        }
    }
}

} // namespace zw::check
