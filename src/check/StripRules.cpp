// The top strip (maker's name and home page in the link colour) that every
// full-window picture carries, and the back-to-menu badge of the mazes and the
// closing picture.

#include "check/Rules.h"

#include <cmath>

namespace zw::check {

namespace {

// Every pixel of `within` that is neither `ink` nor `background`.
std::vector<QPoint> foreignPixels(const KeyMap& keys, const QRect& within, Key ink, Key background)
{
    std::vector<QPoint> out;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (keys.at(x, y) != ink && keys.at(x, y) != background)
                out.emplace_back(x, y);
    return out;
}

// Where a picture may carry the link colour beside the top strip.
bool linkAllowedAt(const PictureInfo& info, QPoint p)
{
    if (area::nameStrip.contains(p) || area::homeStrip.contains(p))
        return true;
    if (info.kind == PictureKind::Level && info.level == 17)
        return area::pupils.contains(p);
    if (info.kind == PictureKind::Closing)
        return area::arrowBox.contains(p);
    return false;
}

} // namespace

void checkTopStrip(const PictureInfo& info, const KeyMap& keys, Findings& out)
{
    const QString rule = QStringLiteral("top strip");
    // The texts stand on black on the menus and on white everywhere else.
    const Key background = info.kind == PictureKind::Menu ? Key::Info : Key::Wall;
    const struct {
        QRect box;
        const char* what;
    } strips[] = {{area::nameStrip, "maker's name"}, {area::homeStrip, "home page"}};

    for (const auto& strip : strips) {
        const QString what = QString::fromLatin1(strip.what);
        const std::vector<QPoint> ink = keys.pixelsOf(Key::Link, strip.box);
        if (ink.empty()) {
            out.add(rule, QStringLiteral("no orange letters of the %1 in %2").arg(what, boxText(strip.box)),
                    strip.box.topLeft());
            continue;
        }
        int x1 = strip.box.right(), x2 = strip.box.left(), y1 = strip.box.bottom(), y2 = strip.box.top();
        for (const QPoint& p : ink) {
            x1 = std::min(x1, p.x());
            x2 = std::max(x2, p.x());
            y1 = std::min(y1, p.y());
            y2 = std::max(y2, p.y());
        }
        // The text fills its box: letters about 12 pixels high across most of its width.
        const int minWidth = int(std::ceil(strip.box.width() * 0.6));
        const int inkWidth = x2 - x1 + 1, inkHeight = y2 - y1 + 1;
        if (inkWidth < minWidth || inkHeight < 9)
            out.add(rule, QStringLiteral("the %1 spans %2 x %3 px in %4, expected at least %5 x 9")
                              .arg(what)
                              .arg(inkWidth)
                              .arg(inkHeight)
                              .arg(boxText(strip.box))
                              .arg(minWidth),
                    {x1, y1});
        const std::vector<QPoint> foreign = foreignPixels(keys, strip.box, Key::Link, background);
        if (!foreign.empty())
            out.add(rule, QStringLiteral("the %1 box %2 holds colours other than orange on %3: %4")
                              .arg(what, boxText(strip.box), colourName(background), countAndFirst(foreign)),
                    foreign.front());
    }

    std::vector<QPoint> stray;
    for (const QPoint& p : keys.pixelsOf(Key::Link))
        if (!linkAllowedAt(info, p))
            stray.push_back(p);
    if (!stray.empty())
        out.add(QStringLiteral("link colour"),
                QStringLiteral("orange outside the top strip: %1").arg(countAndFirst(stray)), stray.front());
}

void checkBadge(const PictureInfo& info, const KeyMap& keys, Findings& out)
{
    const QString rule = QStringLiteral("badge");
    const std::vector<QPoint> strokes = keys.pixelsOf(Key::Menu, area::badge);
    if (strokes.empty())
        out.add(rule, QStringLiteral("no dark red strokes in %1").arg(boxText(area::badge)), area::badge.topLeft());
    // Only the strokes react; the white between them is wall.
    const std::vector<QPoint> foreign = foreignPixels(keys, area::badge, Key::Menu, Key::Wall);
    if (!foreign.empty())
        out.add(rule, QStringLiteral("%1 holds colours other than dark red on white: %2")
                          .arg(boxText(area::badge), countAndFirst(foreign)),
                foreign.front());
    // The closing picture's large art is dark red too; on the mazes the badge
    // is the only way back to the menu.
    if (info.kind != PictureKind::Level)
        return;
    std::vector<QPoint> stray;
    for (const QPoint& p : keys.pixelsOf(Key::Menu))
        if (!area::badge.contains(p))
            stray.push_back(p);
    if (!stray.empty())
        out.add(rule, QStringLiteral("dark red (menu) outside the badge %1: %2")
                          .arg(boxText(area::badge), countAndFirst(stray)),
                stray.front());
}

} // namespace zw::check
