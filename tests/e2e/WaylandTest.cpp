// The real program as a Wayland client of a real compositor (weston), with
// Qt's Wayland plugin, played through the compositor's pointer: the menu
// pixel for pixel, a new game, a win, a death, a wall at each of the four
// edges of a level, closing, and a compositor that goes away. Weston draws
// no window frames, so the game draws its own title bar; the same play also
// runs with window frames turned off (QT_WAYLAND_DISABLE_WINDOWDECORATION).

#include "GameOnScreen.h"
#include "MazePath.h"
#include "PlaySteps.h"
#include "WestonSession.h"

#include <QPainter>
#include <QThread>
#include <gtest/gtest.h>

#include <array>

namespace zw::e2e {
namespace {

struct Decoration {
    const char* name;
    bool ownTitleBar;       // the game draws its title bar above the picture
    const char* disabledBy; // the variable that turns frames off, or nothing
};

void PrintTo(const Decoration& decoration, std::ostream* out)
{
    *out << decoration.name;
}

// Every picture pixel as the screen shows it, the frame's yellow let pass.
int exactDifferences(const QImage& shown, const QImage& expected)
{
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const QRgb s = shown.pixel(x, y) & 0xFFFFFF;
            if (s != (expected.pixel(x, y) & 0xFFFFFF) && s != (Yellow & 0xFFFFFF))
                ++wrong;
        }
    return wrong;
}

class WaylandGame : public PlayingTest, public ::testing::WithParamInterface<Decoration> {
protected:
    void SetUp() override
    {
        PlayingTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(x.started()) << "Xvfb did not start";
        weston = std::make_unique<WestonSession>(x);
        if (!weston->started())
            GTEST_SKIP() << weston->failure().toStdString();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = weston->clientEnvironment();
        if (GetParam().disabledBy)
            env.insert(QString::fromLatin1(GetParam().disabledBy), QStringLiteral("1"));
        return env;
    }

    // The compositor's windows are not X windows: the game's is where the
    // screen shows the menu. The pointer rests on the compositor's panel
    // meanwhile, where windows are never placed, so that the pointer it
    // draws covers none of the window.
    bool findWindow() override
    {
        x.moveTo(PointerRest);
        const QImage menu = picture(QStringLiteral("menu-cs"));
        std::optional<QPoint> at;
        if (!waitUntil([&] { return bool(at = findPictureOnScreen(x.screen(), menu)); }, StepTimeoutMs))
            return false;
        window = QRect(*at, QSize(640, 496));
        return true;
    }

    // The compositor draws its pointer into the screen, over the picture;
    // the square it may cover is let pass as the frame's yellow is.
    QImage client() const override
    {
        QImage shot = x.screen();
        if (const auto p = x.pointer())
            QPainter(&shot).fillRect(QRect(*p - QPoint(16, 16), QSize(40, 40)), QColor::fromRgb(Yellow));
        return shot.copy(window);
    }

    // A press on the start spot begins a run; the pointer then jumps to the
    // edge point, with the button still held or, as the game allows, after
    // letting it go. The run must die there.
    bool edgeKills(QPoint start, QPoint edge, bool buttonHeld)
    {
        const QRect deathCount(570, 480, 70, 16);
        const QImage countBefore = client().copy(deathCount);
        x.moveTo(onScreen(start));
        x.buttonDown();
        if (!buttonHeld)
            x.buttonUp();
        x.moveTo(onScreen(start + QPoint(1, 0)));
        x.moveTo(onScreen(edge));
        const bool counted = waitUntil([&] { return client().copy(deathCount) != countBefore; }, StepTimeoutMs);
        if (buttonHeld)
            x.buttonUp();
        x.moveTo(onScreen(start));
        return counted;
    }

    static constexpr int GameFrameTitle = 28;
    // A player's press on a title bar is held a moment: the length of the
    // gesture, not a wait for anything.
    static constexpr int TitleBarPressMs = 200;
    static constexpr QPoint PointerRest{WestonSession::OutputWidth / 2, 10};
    std::unique_ptr<WestonSession> weston;
};

TEST_P(WaylandGame, MenuIsExactAndAGameIsWonAndLostThroughThePointer)
{
    GameHome home;
    RunningGame game(x, home, {gameProgram()}, environment());
    ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
    ASSERT_TRUE(findWindow()) << "the menu never showed on the compositor's screen";

    const QImage menu = picture(QStringLiteral("menu-cs"));
    EXPECT_TRUE(waitUntil([&] { return exactDifferences(client(), menu) == 0; }, StepTimeoutMs))
        << "the menu is not pixel-exact; differences: " << exactDifferences(client(), menu);
    EXPECT_EQ(client().pixel(140, 24), Yellow); // the frame around the first item

    // The title bar above the picture, dark with a light title, where the
    // game draws it; otherwise the compositor's background is right there.
    const QImage above = x.screen().copy(window.left(), window.top() - GameFrameTitle, 640, GameFrameTitle);
    const QRgb titleBar = qRgb(48, 48, 48);
    EXPECT_EQ(above.pixel(200, 3) == titleBar, GetParam().ownTitleBar);

    ASSERT_TRUE(newGame()) << "no level 1 after a press on the new-game item";
    ASSERT_TRUE(walkToGoal(1)) << "level 1 was not won";
    ASSERT_TRUE(dieOn(2)) << "a run into a wall on level 2 counted no death";

    if (GetParam().ownTitleBar) {
        // The title bar's close button closes the game like any window's.
        x.buttonUp();
        pressAt(QPoint(640 - 20, -GameFrameTitle / 2));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs)) << "the close button did not end the game";
        EXPECT_EQ(game.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(game.process().exitCode(), 0);
    } else {
        EXPECT_TRUE(quitFromLevel(2, game)) << "the game did not end through the menu's quit item";
    }
}

TEST_P(WaylandGame, AWallAtEachEdgeOfALevelKillsALiveRun)
{
    GameHome home;
    RunningGame game(x, home, {gameProgram()}, environment());
    ASSERT_TRUE(menuShown()) << "the menu never showed on the compositor's screen";
    ASSERT_TRUE(newGame()) << "no level 1 after a press on the new-game item";
    ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";

    const QImage shown = level(1);
    const auto start = centreOf(shown, rgbOf(ColorStart));
    ASSERT_TRUE(start);
    const QRgb wall = rgbOf(ColorWall) & 0xFFFFFF;
    // The first and last column and row of the picture, each at its middle.
    const std::array<std::pair<const char*, QPoint>, 4> edges{{
        {"left", QPoint(0, 240)},
        {"right", QPoint(639, 240)},
        {"top", QPoint(320, 0)},
        {"bottom", QPoint(320, 479)},
    }};
    for (const auto& [name, edge] : edges) {
        SCOPED_TRACE(name);
        ASSERT_EQ(shown.pixel(edge) & 0xFFFFFF, wall) << "level 1 has no wall at this edge";
        for (bool held : {true, false})
            EXPECT_TRUE(edgeKills(*start, edge, held))
                << "a live run touched the wall at the " << name << " edge with the button "
                << (held ? "held" : "let go") << " and lived";
    }
    EXPECT_TRUE(game.alive());
}

// A player's press on the game's own title bar lasts a while, and the
// compositor's move grab swallows its release; afterwards the game must still
// hear the pointer: a run into a wall dies.
TEST_P(WaylandGame, ARealPressOnTheTitleBarGivesThePointerBack)
{
    if (!GetParam().ownTitleBar)
        return; // the game draws no title bar here (not a skip: ctest would count the whole run skipped)
    GameHome home;
    RunningGame game(x, home, {gameProgram()}, environment());
    ASSERT_TRUE(menuShown()) << "the menu never showed on the compositor's screen";
    ASSERT_TRUE(newGame()) << "no level 1 after a press on the new-game item";
    ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";
    const QImage shown = level(1);
    const auto start = centreOf(shown, rgbOf(ColorStart));
    ASSERT_TRUE(start);
    const QRect deathCount(570, 480, 70, 16);
    for (bool drag : {false, true}) {
        SCOPED_TRACE(drag ? "press and drag" : "press");
        // A live run (the game lets the button go after the start), then a
        // player's press on the title bar, with no click in the picture after it.
        const QImage countBefore = client().copy(deathCount);
        x.moveTo(onScreen(*start));
        x.buttonDown();
        x.buttonUp();
        x.moveTo(onScreen(*start + QPoint(1, 0)));
        x.moveTo(onScreen(QPoint(200, -GameFrameTitle / 2)));
        x.buttonDown();
        QThread::msleep(TitleBarPressMs);
        if (drag)
            x.moveAlong(onScreen({QPoint(210, -GameFrameTitle / 2), QPoint(230, 10 - GameFrameTitle / 2)}));
        x.buttonUp();
        // A drag moves the window: find level 1 on the screen again, at the
        // same place on two screens in a row, so that the move is over.
        x.moveTo(PointerRest);
        std::optional<QPoint> at, before;
        ASSERT_TRUE(waitUntil(
            [&] {
                before = at;
                at = findPictureOnScreen(x.screen(), shown);
                return at && at == before;
            },
            StepTimeoutMs))
            << "level 1 is gone from the screen";
        window = QRect(*at, QSize(640, 496));
        x.moveTo(onScreen(QPoint(0, 240)));
        EXPECT_TRUE(waitUntil([&] { return client().copy(deathCount) != countBefore; }, StepTimeoutMs))
            << "after the press on the title bar the run went into a wall and lived";
        x.moveTo(onScreen(*start));
    }
    EXPECT_TRUE(game.alive());
}

TEST_P(WaylandGame, EndsCleanlyWhenTheCompositorGoesAway)
{
    GameHome home;
    RunningGame game(x, home, {gameProgram()}, environment());
    ASSERT_TRUE(menuShown()) << "the menu never showed on the compositor's screen";
    weston->kill();
    ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs)) << "the game outlived its compositor";
    // It leaves on its own, by an exit and not by a crash or a signal.
    EXPECT_EQ(game.process().exitStatus(), QProcess::NormalExit);
}

INSTANTIATE_TEST_SUITE_P(Frames, WaylandGame,
                         ::testing::Values(Decoration{"GameTitleBar", true, nullptr},
                                           Decoration{"FramesTurnedOff", false,
                                                      "QT_WAYLAND_DISABLE_WINDOWDECORATION"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::e2e
