// The start and goal discs of the mazes: each exactly the disc of its box, so
// a press anywhere on the red spot starts a run and the green one ends it,
// and no other red or green anywhere that could start or win by accident.

#include "check/Rules.h"

#include <set>

namespace zw::check {

namespace {

void checkSpots(const KeyMap& keys, Key colour, const QString& rule, const std::vector<QRect>& boxes, Findings& out)
{
    std::set<std::pair<int, int>> expected;
    for (const QRect& b : boxes) {
        const std::vector<QPoint> disc = discPixels(b);
        int found = 0;
        std::vector<QPoint> missing;
        for (const QPoint& p : disc) {
            expected.insert({p.x(), p.y()});
            if (keys.contains(p.x(), p.y()) && keys.at(p) == colour)
                ++found;
            else
                missing.push_back(p);
        }
        if (!missing.empty())
            out.add(rule, QStringLiteral("expected %1 %2 pixels in %3, found %4 (missing %5)")
                              .arg(disc.size())
                              .arg(colourName(colour), boxText(b))
                              .arg(found)
                              .arg(pointText(missing.front())),
                    missing.front());
    }
    std::vector<QPoint> stray;
    for (const QPoint& p : keys.pixelsOf(colour))
        if (!expected.count({p.x(), p.y()}))
            stray.push_back(p);
    if (!stray.empty())
        out.add(rule, QStringLiteral("%1 outside the disc: %2").arg(colourName(colour), countAndFirst(stray)),
                stray.front());
}

} // namespace

void checkDiscs(const PictureInfo& info, const KeyMap& keys, Findings& out)
{
    const LevelFacts& facts = levelFacts(info.level);
    checkSpots(keys, Key::Start, QStringLiteral("start disc"), {facts.start}, out);
    checkSpots(keys, Key::Goal, QStringLiteral("goal disc"), facts.goals, out);
}

} // namespace zw::check
