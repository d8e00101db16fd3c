// The real program in a real X session, played with the mouse as a player
// would: the menu, a new game, a run through level 1, a death on level 2,
// back to the menu, and quitting.

#include "MazePath.h"
#include "XSession.h"

#include "assets/ColorKey.h"
#include "assets/PictureStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

constexpr int StepTimeoutMs = 8000;
const QRgb Yellow = qRgb(255, 255, 0);

QRgb rgbOf(Colour key)
{
    return qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
}

QImage picture(const QString& name)
{
    return PictureStore::loadBuiltIn(name).convertToFormat(QImage::Format_RGB32);
}

// The game running on the session's display, with a home of its own so the
// player's saves are never touched.
class RunningGame {
public:
    explicit RunningGame(const XSession& x)
    {
        QProcessEnvironment env = x.environment();
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR"})
            env.remove(QString::fromLatin1(scaling));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(ZIGWALK_PROGRAM), {});
    }
    ~RunningGame()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    QProcess& process() { return process_; }

private:
    QTemporaryDir home_;
    QProcess process_;
};

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QStringList missing = missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.join(QStringLiteral(", ")).toStdString();
    }

    // The client area as the screen shows it now.
    QImage client() { return x.screen().copy(window); }

    // How many of every 5th picture pixel the screen shows differently. The
    // yellow frame may lie anywhere over the picture, so yellow is let pass.
    static int differences(const QImage& shown, const QImage& expected)
    {
        if (shown.size() != QSize(640, 496))
            return -1;
        int wrong = 0;
        for (int y = 0; y < 480; y += 5)
            for (int x = 0; x < 640; x += 5) {
                const QRgb s = shown.pixel(x, y) & 0xFFFFFF;
                if (s != (expected.pixel(x, y) & 0xFFFFFF) && s != (Yellow & 0xFFFFFF))
                    ++wrong;
            }
        return wrong;
    }

    bool showsPicture(const QImage& expected, int timeoutMs = StepTimeoutMs)
    {
        return waitUntil([&] { return differences(client(), expected) == 0; }, timeoutMs);
    }

    QPoint onScreen(QPoint inWindow) const { return window.topLeft() + inWindow; }
    std::vector<QPoint> onScreen(const std::vector<QPoint>& inWindow) const
    {
        std::vector<QPoint> points;
        for (QPoint p : inWindow)
            points.push_back(onScreen(p));
        return points;
    }

    void pressAt(QPoint inWindow)
    {
        x.moveTo(onScreen(inWindow));
        x.buttonDown();
        x.buttonUp();
    }

    XSession x;
    QRect window;
};

TEST_F(RealWindow, PlayFromTheMenuThroughLevelOneAndQuit)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    RunningGame game(x);
    ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));

    // The window appears with its exact client size and the Czech menu.
    QString id;
    ASSERT_TRUE(waitUntil(
        [&] {
            for (const QString& candidate : x.windowsNamed(QStringLiteral("Zig-walk"))) {
                const auto geometry = x.windowGeometry(candidate);
                if (geometry && geometry->size() == QSize(640, 496)) {
                    id = candidate;
                    window = *geometry;
                    return true;
                }
            }
            return false;
        },
        StepTimeoutMs))
        << "no 640x496 window named Zig-walk";
    const QImage menu = picture(QStringLiteral("menu-cs"));
    ASSERT_TRUE(showsPicture(menu)) << "menu not on screen; differences: " << differences(client(), menu);
    const QImage firstScreen = client();
    EXPECT_EQ(firstScreen.pixel(140, 24), Yellow); // the frame around the first item

    // Hover and press the new-game item: the sweep brings level 1.
    const auto newGame = solidSpot(menu, rgbOf(ColorNewGame));
    ASSERT_TRUE(newGame);
    x.moveTo(onScreen(*newGame));
    // The frame glides to the item: its right edge comes to rest at x 288.
    EXPECT_TRUE(waitUntil([&] { return client().pixel(288, 130) == Yellow; }, StepTimeoutMs))
        << "the frame did not move to the new-game item";
    pressAt(*newGame);
    const QImage level1 = picture(QStringLiteral("level-01"));
    ASSERT_TRUE(showsPicture(level1)) << "level 1 not on screen; differences: " << differences(client(), level1);

    // Press the start spot and walk the path to the goal with the button held.
    const auto start = centreOf(level1, rgbOf(ColorStart));
    const auto goal = centreOf(level1, rgbOf(ColorGoal));
    ASSERT_TRUE(start && goal);
    const auto route = findWidestRoute(level1, *start,
                                       {rgbOf(ColorInfo), rgbOf(ColorStart), rgbOf(ColorGoal)},
                                       [&](QPoint p) { return p == *goal; });
    ASSERT_TRUE(route) << "no way from the start to the goal on level 1";
    x.moveTo(onScreen(*start));
    x.buttonDown();
    x.moveAlong(onScreen(everyNth(*route, 4)));
    x.buttonUp();
    const QImage level2 = picture(QStringLiteral("level-02"));
    ASSERT_TRUE(showsPicture(level2)) << "level 2 not on screen; differences: " << differences(client(), level2);

    // A run on level 2 that touches white: the count at the end of the
    // deaths line changes (the status line never reaches that far here).
    // First the frame must have shrunk to the centre point, so that its
    // edges no longer pass over the strip.
    ASSERT_TRUE(waitUntil(
        [&] {
            const QImage now = client();
            return now.pixel(320, 240) == Yellow && now.pixel(600, 494) != Yellow && now.pixel(638, 488) != Yellow;
        },
        StepTimeoutMs))
        << "the frame did not come to rest in the centre";
    const QRect deathCount(570, 480, 70, 16);
    const QImage countBefore = client().copy(deathCount);
    const auto start2 = centreOf(level2, rgbOf(ColorStart));
    ASSERT_TRUE(start2);
    const auto toWall = findRoute(level2, *start2, {rgbOf(ColorInfo), rgbOf(ColorStart)}, 1,
                                  [&](QPoint p) { return (level2.pixel(p) & 0xFFFFFF) == (rgbOf(ColorWall) & 0xFFFFFF); });
    ASSERT_TRUE(toWall);
    pressAt(*start2);
    x.moveAlong(onScreen(everyNth(*toWall, 3)));
    EXPECT_TRUE(waitUntil([&] { return client().copy(deathCount) != countBefore; }, StepTimeoutMs))
        << "the deaths line did not change";

    // A press on the badge goes back to the menu.
    const auto badge = solidSpot(level2, rgbOf(ColorMenu));
    ASSERT_TRUE(badge);
    pressAt(*badge);
    ASSERT_TRUE(showsPicture(menu)) << "menu not back; differences: " << differences(client(), menu);

    // The quit item ends the program at once.
    const auto quit = solidSpot(menu, rgbOf(ColorQuit));
    ASSERT_TRUE(quit);
    pressAt(*quit);
    ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs)) << "the program did not end";
    EXPECT_EQ(game.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(game.process().exitCode(), 0);
}

} // namespace
} // namespace zw::e2e

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
