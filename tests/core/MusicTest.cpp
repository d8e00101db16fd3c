// The background tune: which media commands are sent, and the music flag.

#include "GameHarness.h"

#include <vector>

namespace zw::test {
namespace {

enum class Step { AddFile, RemoveFile, Load, Click, Close, Quit };

void runSteps(TestPlatform& platform, Game& game, const std::vector<Step>& steps)
{
    for (Step step : steps) {
        switch (step) {
        case Step::AddFile: platform.addMusic(); break;
        case Step::RemoveFile: platform.removeMusic(); break;
        case Step::Load: game.Form_Load(); break;
        case Step::Click: game.Label2_Click(); break;
        case Step::Close: game.Form_Unload(); break;
        case Step::Quit: {
            const QPointF at = spotOf(ColorQuit);
            game.Form_MouseDown(1, 0, float(at.x()), float(at.y()));
            break;
        }
        }
    }
}

class Music : public GameTest {
protected:
    void run(const std::vector<Step>& steps) { runSteps(platform, game, steps); }
};

const QString Play = QStringLiteral("Play music.mid");
const QString Stop = QStringLiteral("Stop music.mid");

TEST_F(Music, CommandsAndFlag)
{
    using S = Step;
    const struct { const char* what; std::vector<Step> steps; QStringList commands; flag16 musicOn; } cases[] = {
        {"no file, three clicks", {S::Load, S::Click, S::Click, S::Click}, {}, True},
        {"no file, closing", {S::Load, S::Close}, {}, False},
        {"file: plays from load", {S::AddFile, S::Load}, {Play}, True},
        {"file: clicks stop and play", {S::AddFile, S::Load, S::Click, S::Click}, {Play, Stop, Play}, True},
        {"file: closing with music off still stops", {S::AddFile, S::Load, S::Click, S::Close}, {Play, Stop, Stop}, False},
        {"file deleted mid-game", {S::AddFile, S::Load, S::RemoveFile, S::Click, S::Close}, {Play}, False},
        {"file added later", {S::Load, S::AddFile, S::Click}, {Play}, True},
        {"quit sends no stop", {S::AddFile, S::Load, S::Quit, S::Close, S::Click}, {Play}, True},
    };
    for (const auto& row : cases) {
        TestPlatform p;
        Game g(p, [] { return std::make_unique<PictureStore>(&fixturePicture); });
        runSteps(p, g, row.steps);
        EXPECT_EQ(p.mci, row.commands) << row.what;
        EXPECT_EQ(g.state().MusicOn, row.musicOn) << row.what;
    }
}

TEST_F(Music, ClosingEndsTheProgramAfterTheStopCommand)
{
    run({Step::AddFile, Step::Load, Step::Close});
    EXPECT_EQ(platform.log, (QStringList{QStringLiteral("mci:Play music.mid"), QStringLiteral("mci:Stop music.mid"),
                                         QStringLiteral("end")}));
    EXPECT_TRUE(game.ended());
}

TEST_F(Music, FileIsLookedForBesideTheProgram)
{
    platform.files.insert(QStringLiteral("/home/player/music.mid"));
    platform.programDir = QStringLiteral("/home/player/games/zigwalk");
    run({Step::Load, Step::Click});
    EXPECT_TRUE(platform.mci.isEmpty());
    platform.files.insert(QStringLiteral("/home/player/games/zigwalk/music.mid"));
    run({Step::Click, Step::Click});
    EXPECT_EQ(platform.mci, (QStringList{Stop, Play}));
}

TEST_F(Music, ClickLeavesTheDeathsLineAlone)
{
    run({Step::AddFile, Step::Load, Step::Click});
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Počet zabití : 0"));
}

} // namespace
} // namespace zw::test
