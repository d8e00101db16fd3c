// The difficulty curve over tables of measured levels, each case one change
// from a curve that holds. (Measured from picture files: FolderTest.)

#include "check/DifficultyCurve.h"
#include "base/Levels.h"

#include <gtest/gtest.h>

#include <functional>

namespace zw::check {
namespace {

// A curve that holds: level 2 rises more than three times over level 1 (the
// warm-up may), then each level between 0.75 and 3 times the one before,
// with dips, every way 6 px wide or more, the last maze's 8.5 px or more.
std::vector<LevelDifficulty> goodCurve()
{
    const double ids[LastMaze] = {3, 10, 18, 20, 40, 32, 52, 130, 160, 200, 165, 140, 200, 170, 380, 430, 360, 380, 500, 650};
    std::vector<LevelDifficulty> out;
    for (int i = 0; i < LastMaze; ++i)
        out.push_back({i + 1, true, ids[i], 6.0, {100, 100}, 7.0, {200, 200}});
    out.back().easiestNarrowest = 8.5;
    out.back().widestNarrowest = 9.0;
    return out;
}

struct CurveCase {
    const char* name;
    std::function<void(std::vector<LevelDifficulty>&)> change; // applied to level n at [n - 1]
    std::vector<std::string> expected;
};

std::ostream& operator<<(std::ostream& os, const CurveCase& c) { return os << c.name; }

class Curve : public ::testing::TestWithParam<CurveCase> {};

TEST_P(Curve, FindsWhatBreaks)
{
    std::vector<LevelDifficulty> levels = goodCurve();
    GetParam().change(levels);
    std::vector<std::string> found;
    for (const Finding& f : checkDifficultyCurve(levels))
        found.push_back(f.line().toStdString());
    EXPECT_EQ(found, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Curve,
    ::testing::Values(
        CurveCase{"Holds", [](auto&) {}, {}},
        CurveCase{"FirstAtItsBound", [](auto& l) { l[0].id = 5.0; }, {}},
        CurveCase{"FirstTooHard", [](auto& l) { l[0].id = 5.1; },
                  {"level-01.png: difficulty: ID 5.1 of the first maze is above 5.0"}},
        CurveCase{"WarmUpRisesFreely", [](auto& l) { l[0].id = 1.0; }, {}},
        CurveCase{"DropToExactlyThreeQuarters", [](auto& l) { l[9].id = 120; }, {}},
        CurveCase{"DropBelowThreeQuarters", [](auto& l) { l[9].id = 119.9; },
                  {"level-10.png: difficulty: ID 119.9 is below 0.75 of level 9's 160.0"}},
        CurveCase{"DropOnTheThirdLevel", [](auto& l) { l[2].id = 6.6; },
                  {"level-03.png: difficulty: ID 6.6 is below 0.75 of level 2's 10.0",
                   "level-04.png: difficulty: ID 20.0 is above 3 times level 3's 6.6"}},
        CurveCase{"RiseToExactlyThreeTimes", [](auto& l) { l[14].id = 510; }, {}},
        CurveCase{"RiseAboveThreeTimes", [](auto& l) { l[14].id = 510.5; },
                  {"level-15.png: difficulty: ID 510.5 is above 3 times level 14's 170.0"}},
        CurveCase{"SpikeBeforeTheEnd", [](auto& l) { l[14].id = 1216; l[15].id = 1284; },
                  {"level-15.png: difficulty: ID 1216.0 is above 3 times level 14's 170.0",
                   "level-17.png: difficulty: ID 360.0 is below 0.75 of level 16's 1284.0",
                   "level-20.png: difficulty: ID 650.0 of the last maze is not above level 15's 1216.0",
                   "level-20.png: difficulty: ID 650.0 of the last maze is not above level 16's 1284.0"}},
        CurveCase{"LastTooHard", [](auto& l) { l[19].id = 900.5; },
                  {"level-20.png: difficulty: ID 900.5 of the last maze is above 900.0"}},
        CurveCase{"LastEqualsAnother", [](auto& l) { l[18].id = 650; },
                  {"level-20.png: difficulty: ID 650.0 of the last maze is not above level 19's 650.0"}},
        CurveCase{"NarrowBeforeTheSteadyPartIsAllowed", [](auto& l) { l[13].easiestNarrowest = 4.6; l[13].widestNarrowest = 4.8; },
                  {}},
        CurveCase{"NarrowEasiestWay", [](auto& l) { l[15].easiestNarrowest = 4.6; l[15].easiestNarrowestAt = {578, 427}; },
                  {"level-16.png: difficulty: the easiest way narrows to 4.6 px (< 5) near (578,427)"}},
        CurveCase{"NarrowWidestWay", [](auto& l) { l[18].widestNarrowest = 4.99; l[18].widestNarrowestAt = {584, 404}; },
                  {"level-19.png: difficulty: the widest way narrows to 4.9 px (< 5) near (584,404)"}},
        CurveCase{"WidthExactlyFive", [](auto& l) { l[16].easiestNarrowest = 5.0; l[16].widestNarrowest = 5.0; }, {}},
        // The last maze is drawn in thick strokes: what is wide enough
        // before it is too thin there.
        CurveCase{"LastMazeAsThinAsTheOthers", [](auto& l) { l[19].easiestNarrowest = 6.0; l[19].widestNarrowest = 7.99; l[19].widestNarrowestAt = {584, 404}; },
                  {"level-20.png: difficulty: the easiest way narrows to 6 px (< 8) near (100,100)",
                   "level-20.png: difficulty: the widest way narrows to 7.9 px (< 8) near (584,404)"}},
        CurveCase{"LastMazeExactlyEight", [](auto& l) { l[19].easiestNarrowest = 8.0; l[19].widestNarrowest = 8.0; }, {}},
        // An unmeasured level is the path rule's to name; the levels around
        // it are not compared across the gap.
        CurveCase{"GapIsNotCompared", [](auto& l) { l[9].measured = false; l[10].id = 100; }, {}}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::check
