// The maze itself: start and goal joined by black, the black region touching
// nothing that acts except white (so no press on it can open a link, go to
// the menu or win by a side door), and wide enough to walk with a mouse.

#include "check/Playability.h"
#include "check/Rules.h"

#include <map>

namespace zw::check {

namespace {

constexpr double minimumWidth = 4.0;

} // namespace

void checkPath(const PictureInfo& info, const KeyMap& keys, const std::vector<PathMeasure>& measures, Findings& out)
{
    const Spot start = spotOf(levelFacts(info.level).start);
    for (const PathMeasure& m : measures) {
        if (!m.connected) {
            out.add(QStringLiteral("path"), QStringLiteral("start %1 and goal %2 are not connected along black (4-connected)")
                                                .arg(pointText(start.centre), pointText(m.goal)),
                    m.goal);
        } else if (m.narrowest < minimumWidth) {
            QString detail = QStringLiteral("narrowest passage on the widest path is %1 px (< %2) near %3")
                                 .arg(widthText(m.narrowest), widthText(minimumWidth), pointText(m.narrowestAt));
            if (measures.size() > 1)
                detail += QStringLiteral(" (to the goal at %1)").arg(pointText(m.goal));
            out.add(QStringLiteral("playability"), detail, m.narrowestAt);
        }
    }

    // What the region borders on, by colour; white and inert specks are fine.
    const std::vector<std::uint8_t> region = regionFrom(keys, start.pixels);
    std::map<Key, std::vector<QPoint>> touched;
    const int w = keys.width();
    for (int y = 0; y < keys.height(); ++y)
        for (int x = 0; x < w; ++x) {
            if (region[std::size_t(y) * w + x])
                continue;
            const Key k = keys.at(x, y);
            if (k == Key::Wall || k == Key::Inert || passable(k))
                continue;
            const QPoint next[4] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint& q : next)
                if (keys.contains(q.x(), q.y()) && region[std::size_t(q.y()) * w + q.x()]) {
                    touched[k].emplace_back(x, y);
                    break;
                }
        }
    for (const auto& [k, pixels] : touched)
        out.add(QStringLiteral("path"),
                QStringLiteral("the path region touches %1: %2").arg(keyName(k), countAndFirst(pixels)),
                pixels.front());
}

} // namespace zw::check
