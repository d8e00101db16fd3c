// The difficulty curve over tables of measured levels, each case one change
// from a curve that holds. (Measured from picture files: FolderTest.)

#include "check/DifficultyCurve.h"
#include "base/Levels.h"

#include <gtest/gtest.h>

#include <functional>

namespace zw::check {
namespace {

// A curve that holds: rising with one dip, a spike that the next level keeps
// above half of, every way 6 px wide or more.
std::vector<LevelDifficulty> goodCurve()
{
    const double ids[LastMaze] = {3, 10, 18, 20, 40, 32, 52, 130, 340, 180, 165, 100, 200, 110, 350, 420, 260, 250, 600, 820};
    std::vector<LevelDifficulty> out;
    for (int i = 0; i < LastMaze; ++i)
        out.push_back({i + 1, true, ids[i], 6.0, {100, 100}, 7.0, {200, 200}});
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
        CurveCase{"DropToExactlyHalf", [](auto& l) { l[9].id = 170; }, {}},
        CurveCase{"DropBelowHalf", [](auto& l) { l[9].id = 169.9; },
                  {"level-10.png: difficulty: ID 169.9 is below half of level 9's 340.0"}},
        CurveCase{"SpikeBeforeTheSteadyPart", [](auto& l) { l[14].id = 1216; l[15].id = 1284; },
                  {"level-17.png: difficulty: ID 260.0 is below half of level 16's 1284.0",
                   "level-20.png: difficulty: ID 820.0 of the last maze is not above level 15's 1216.0",
                   "level-20.png: difficulty: ID 820.0 of the last maze is not above level 16's 1284.0"}},
        CurveCase{"LastTooHard", [](auto& l) { l[19].id = 900.5; },
                  {"level-20.png: difficulty: ID 900.5 of the last maze is above 900.0"}},
        CurveCase{"LastEqualsAnother", [](auto& l) { l[18].id = 820; },
                  {"level-20.png: difficulty: ID 820.0 of the last maze is not above level 19's 820.0"}},
        CurveCase{"NarrowBeforeTheSteadyPartIsAllowed", [](auto& l) { l[13].easiestNarrowest = 4.6; l[13].widestNarrowest = 4.8; },
                  {}},
        CurveCase{"NarrowEasiestWay", [](auto& l) { l[15].easiestNarrowest = 4.6; l[15].easiestNarrowestAt = {578, 427}; },
                  {"level-16.png: difficulty: the easiest way narrows to 4.6 px (< 5) near (578,427)"}},
        CurveCase{"NarrowWidestWay", [](auto& l) { l[19].widestNarrowest = 4.99; l[19].widestNarrowestAt = {584, 404}; },
                  {"level-20.png: difficulty: the widest way narrows to 4.9 px (< 5) near (584,404)"}},
        CurveCase{"WidthExactlyFive", [](auto& l) { l[16].easiestNarrowest = 5.0; l[16].widestNarrowest = 5.0; }, {}},
        // An unmeasured level is the path rule's to name; the levels around
        // it are not compared across the gap.
        CurveCase{"GapIsNotCompared", [](auto& l) { l[9].measured = false; l[10].id = 20; }, {}}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::check
