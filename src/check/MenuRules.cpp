// The menu pictures: three item boxes the dispatcher recognises by colour,
// each inside the highlight frame that slides to it, and the maker's logo,
// whose red and white act as start spot and wall, inside the link's frame.

#include "check/Rules.h"

#include <array>

namespace zw::check {

namespace {

struct MenuItem {
    Key key;
    QRect box;
    QRect frame; // the highlight frame's rectangle for this item
    const char* rule;
};

const std::array<MenuItem, 3> menuItems = {{
    {Key::Continue, box(48, 54, 230, 97), box(40, 24, 240, 104), "continue item"},
    {Key::NewGame, box(48, 112, 230, 155), box(40, 104, 288, 160), "new game item"},
    {Key::Quit, box(48, 170, 230, 213), box(16, 160, 240, 304), "quit item"},
}};

// The frame shown while the pointer is over the link colour; the logo sits in it.
const QRect linkFrame = box(296, 232, 584, 440);

const QSize arcSize(41, 114);

void checkItem(const MenuItem& item, const KeyMap& keys, Findings& out)
{
    const QString rule = QString::fromLatin1(item.rule);
    const QRect bounds = keys.boundsOf(item.key);
    if (bounds.isNull())
        return; // the key colour rule already says the colour is missing
    if (bounds != item.box)
        out.add(rule, QStringLiteral("%1 spans %2, expected %3").arg(colourName(item.key), boxText(bounds), boxText(item.box)),
                bounds.topLeft());
    if (!item.frame.contains(bounds))
        out.add(rule, QStringLiteral("%1 reaches outside its highlight frame %2")
                          .arg(colourName(item.key), boxText(item.frame)),
                bounds.topLeft());
    // The caption is cut out of the box: black letters on the item colour, nothing else.
    std::vector<QPoint> foreign;
    int letters = 0;
    for (int y = item.box.top(); y <= item.box.bottom(); ++y)
        for (int x = item.box.left(); x <= item.box.right(); ++x) {
            const Key k = keys.at(x, y);
            letters += k == Key::Info;
            if (k != item.key && k != Key::Info)
                foreign.emplace_back(x, y);
        }
    if (!foreign.empty())
        out.add(rule, QStringLiteral("the box holds colours other than %1 and black: %2")
                          .arg(colourName(item.key), countAndFirst(foreign)),
                foreign.front());
    if (letters == 0)
        out.add(rule, QStringLiteral("no black letters in %1").arg(boxText(item.box)), item.box.topLeft());
}

void checkLogo(const KeyMap& keys, Findings& out)
{
    const QString rule = QStringLiteral("logo");
    const QRect logoArea = area::logo.intersected(linkFrame);
    // Red on the menu is a start spot: it belongs to the logo alone.
    std::vector<QPoint> strayRed;
    for (const QPoint& p : keys.pixelsOf(Key::Start))
        if (!logoArea.contains(p))
            strayRed.push_back(p);
    if (!strayRed.empty())
        out.add(rule, QStringLiteral("red outside the logo box %1: %2").arg(boxText(logoArea), countAndFirst(strayRed)),
                strayRed.front());

    std::vector<QRect> arcs;
    for (const KeyMap::Piece& piece : keys.piecesOf(Key::Start, KeyMap::Touch::SidesAndCorners))
        arcs.push_back(piece.bounds);
    bool arcsRight = arcs.size() == 2;
    for (const QRect& a : arcs)
        arcsRight &= a.size() == arcSize;
    if (!arcsRight) {
        QStringList found;
        for (const QRect& a : arcs)
            found << QStringLiteral("%1 x %2").arg(a.width()).arg(a.height());
        out.add(rule, QStringLiteral("expected two red arcs of 41 x 114, found %1 red shapes (%2)")
                          .arg(arcs.size())
                          .arg(found.join(QStringLiteral(", "))),
                arcs.empty() ? QPoint(-1, -1) : arcs.front().topLeft());
    }
    if (keys.pixelsOf(Key::Wall, logoArea).empty())
        out.add(rule, QStringLiteral("no white ring in %1").arg(boxText(logoArea)), logoArea.topLeft());

    // White elsewhere (a title, say) is a wall that must not lie where the
    // highlight frames stand, nor in the link's frame beside the logo.
    const QRect frames[] = {menuItems[0].frame, menuItems[1].frame, menuItems[2].frame, linkFrame};
    std::vector<QPoint> strayWhite;
    for (const QPoint& p : keys.pixelsOf(Key::Wall)) {
        if (logoArea.contains(p))
            continue;
        for (const QRect& f : frames)
            if (f.contains(p)) {
                strayWhite.push_back(p);
                break;
            }
    }
    if (!strayWhite.empty())
        out.add(rule, QStringLiteral("white outside the logo box lies in a highlight frame: %1").arg(countAndFirst(strayWhite)),
                strayWhite.front());
}

} // namespace

void checkMenu(const PictureInfo&, const KeyMap& keys, Findings& out)
{
    for (const MenuItem& item : menuItems)
        checkItem(item, keys, out);
    checkLogo(keys, out);
}

std::vector<Finding> checkMenuPair(const QImage& czech, const QImage& english)
{
    Findings out(QStringLiteral("menu-en.png"));
    if (czech.size() != english.size())
        return out.take(); // the size rule reports this for each picture
    const KeyMap cs(czech), en(english);
    std::vector<QPoint> differ;
    for (int y = 0; y < cs.height(); ++y)
        for (int x = 0; x < cs.width(); ++x) {
            bool inItem = false;
            for (const MenuItem& item : menuItems)
                inItem |= item.box.contains(x, y);
            if (!inItem && cs.rgb(x, y) != en.rgb(x, y))
                differ.emplace_back(x, y);
        }
    if (!differ.empty())
        out.add(QStringLiteral("same as menu-cs.png"),
                QStringLiteral("differs outside the item boxes: %1").arg(countAndFirst(differ)), differ.front());
    return out.take();
}

} // namespace zw::check
