#include "check/DifficultyCurve.h"
#include "check/KeyColour.h"
#include "check/Playability.h"
#include "base/Levels.h"

#include <algorithm>

namespace zw::check {

namespace {

QString idText(double id)
{
    return QString::number(id, 'f', 1);
}

} // namespace

std::vector<LevelDifficulty> levelDifficulties(const std::vector<LoadedPicture>& pictures)
{
    std::vector<LevelDifficulty> out;
    for (const LoadedPicture& p : pictures) {
        if (p.info.kind != PictureKind::Level)
            continue;
        LevelDifficulty d;
        d.level = p.info.level;
        // With two goals either one wins: the player takes the easier, so
        // the level is as hard as that one, and any of the ways is a way to
        // win whose width counts.
        for (const PathMeasure& m : p.ways) {
            if (!m.connected)
                continue;
            if (!d.measured || m.difficulty < d.id)
                d.id = m.difficulty;
            if (!d.measured || m.easiestNarrowest < d.easiestNarrowest) {
                d.easiestNarrowest = m.easiestNarrowest;
                d.easiestNarrowestAt = m.easiestNarrowestAt;
            }
            if (!d.measured || m.narrowest < d.widestNarrowest) {
                d.widestNarrowest = m.narrowest;
                d.widestNarrowestAt = m.narrowestAt;
            }
            d.measured = true;
        }
        out.push_back(d);
    }
    std::sort(out.begin(), out.end(), [](const LevelDifficulty& a, const LevelDifficulty& b) { return a.level < b.level; });
    return out;
}

std::vector<Finding> checkDifficultyCurve(const std::vector<LevelDifficulty>& levels)
{
    std::vector<Finding> out;
    const auto add = [&](int level, const QString& detail, QPoint at = {-1, -1}) {
        out.push_back({zw::levelPictureFile(level), QStringLiteral("difficulty"), detail, at});
    };
    const LevelDifficulty* before = nullptr;
    for (const LevelDifficulty& d : levels) {
        if (!d.measured) {
            before = nullptr; // no step to compare across a gap
            continue;
        }
        if (d.level == 1 && d.id > curve::firstMost)
            add(d.level, QStringLiteral("ID %1 of the first maze is above %2").arg(idText(d.id), idText(curve::firstMost)));
        if (before && before->level + 1 == d.level && d.level >= curve::stepsFrom) {
            if (d.id < curve::dropLeast * before->id)
                add(d.level, QStringLiteral("ID %1 is below %2 of level %3's %4")
                                 .arg(idText(d.id), QString::number(curve::dropLeast))
                                 .arg(before->level)
                                 .arg(idText(before->id)));
            if (d.id > curve::riseMost * before->id)
                add(d.level, QStringLiteral("ID %1 is above %2 times level %3's %4")
                                 .arg(idText(d.id), QString::number(curve::riseMost))
                                 .arg(before->level)
                                 .arg(idText(before->id)));
        }
        const double least = d.level == zw::LastMaze ? curve::lastWidth
                           : d.level >= curve::steadyFrom ? curve::steadyWidth
                                                           : 0;
        if (d.easiestNarrowest < least)
            add(d.level,
                QStringLiteral("the easiest way narrows to %1 px (< %2) near %3")
                    .arg(widthText(d.easiestNarrowest), widthText(least), pointText(d.easiestNarrowestAt)),
                d.easiestNarrowestAt);
        if (d.widestNarrowest < least)
            add(d.level,
                QStringLiteral("the widest way narrows to %1 px (< %2) near %3")
                    .arg(widthText(d.widestNarrowest), widthText(least), pointText(d.widestNarrowestAt)),
                d.widestNarrowestAt);
        before = &d;
    }
    const auto last = std::find_if(levels.begin(), levels.end(), [](const LevelDifficulty& d) { return d.level == zw::LastMaze; });
    if (last != levels.end() && last->measured) {
        if (last->id > curve::lastMost)
            add(zw::LastMaze, QStringLiteral("ID %1 of the last maze is above %2").arg(idText(last->id), idText(curve::lastMost)));
        for (const LevelDifficulty& d : levels)
            if (d.measured && d.level != zw::LastMaze && d.id >= last->id)
                add(zw::LastMaze, QStringLiteral("ID %1 of the last maze is not above level %2's %3")
                            .arg(idText(last->id))
                            .arg(d.level)
                            .arg(idText(d.id)));
    }
    return out;
}

} // namespace zw::check
