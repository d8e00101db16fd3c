// A player's own levels in the real window: three levels painted with soft
// edges are refused with the findings, snapped with zigwalk-check, then
// played with the mouse to the closing picture; a restart and continue come
// back to the folder's level, and the built-in game's progress is untouched.

#include "GameOnScreen.h"
#include "MazePath.h"
#include "PlayerFixtures.h"
#include "StoreSections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

class LevelFolder : public GameScreenTest {
protected:
    // Walks the pointer from the start to the goal of the picture on show.
    void walk(const QImage& level)
    {
        ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";
        ASSERT_TRUE(walkToGoalOf(level)) << "no way from the start to the goal";
    }
};

TEST_F(LevelFolder, RefusedWithFindingsThenSnappedAndPlayedToTheClosingPicture)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    const QString folder = home.path() + QStringLiteral("/my-levels");
    QDir().mkpath(folder);
    for (int k = 1; k <= 3; ++k)
        ASSERT_TRUE(fixtures::paintedLevel(k).save(folder + QStringLiteral("/level-0%1.png").arg(k)));
    // The built-in game has progress of its own already.
    const QByteArray builtIn = "[SaveGame]\nSaw1=5\nSaw2=3\nSaw3=8\nSaw4=3\n";
    QDir().mkpath(QFileInfo(home.storeFile()).absolutePath());
    {
        QFile store(home.storeFile());
        ASSERT_TRUE(store.open(QIODevice::WriteOnly) && store.write(builtIn) == builtIn.size());
    }

    // Refused: one box, the same lines on stderr, exit code 2.
    {
        const Refusal refused = startRefused(home, {folder});
        ASSERT_TRUE(refused.boxShown) << "no message box";
        EXPECT_FALSE(refused.shot.isNull());
        ASSERT_TRUE(refused.ended) << "the box did not close";
        EXPECT_EQ(refused.exitCode, 2);
        const QString& err = refused.stderrText;
        EXPECT_TRUE(err.contains(QStringLiteral("nelze hrát"))) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("level-01.png: barvy: barva mimo klíč"))) << err.toStdString();
        EXPECT_TRUE(x.windowsNamed(QStringLiteral("Zig-walk")).isEmpty()) << "a refused folder shows no game";
    }

    // Snapped with the checker, every level passes.
    QImage levels[4];
    for (int k = 1; k <= 3; ++k) {
        const QString file = folder + QStringLiteral("/level-0%1.png").arg(k);
        QProcess snap;
        snap.start(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--snap"), file, file});
        ASSERT_TRUE(snap.waitForFinished(30000));
        EXPECT_EQ(snap.exitCode(), 0) << snap.readAllStandardError().toStdString();
        EXPECT_TRUE(QString::fromUtf8(snap.readAllStandardOutput()).contains(QStringLiteral("pixels changed")));
        levels[k] = QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    QProcess check;
    check.start(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--levels"), folder});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();

    const QImage menu = picture(QStringLiteral("menu-cs"));
    {
        RunningGame game(x, home, {gameProgram(), QStringLiteral("--levels"), folder});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        ASSERT_TRUE(findWindow()) << "no game window";
        ASSERT_TRUE(showsPicture(menu)) << "menu not on screen";
        pressAt(*solidSpot(menu, rgbOf(ColorNewGame)));
        ASSERT_TRUE(showsPicture(levels[1])) << "level 1 of the folder not on screen; differences: "
                                             << differences(client(), levels[1]);
        ASSERT_NO_FATAL_FAILURE(walk(levels[1]));
        ASSERT_TRUE(showsPicture(levels[2])) << "level 2 of the folder not on screen";
        // Back to the menu and quit: the folder's progress stays on level 2.
        pressAt(*solidSpot(levels[2], rgbOf(ColorMenu)));
        ASSERT_TRUE(showsPicture(menu));
        pressAt(*solidSpot(menu, rgbOf(ColorQuit)));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs));
    }
    {
        RunningGame game(x, home, {gameProgram(), folder});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        ASSERT_TRUE(findWindow()) << "no game window after the restart";
        ASSERT_TRUE(showsPicture(menu));
        pressAt(*solidSpot(menu, rgbOf(ColorContinue)));
        ASSERT_TRUE(showsPicture(levels[2])) << "continue did not come back to the folder's level 2";
        ASSERT_NO_FATAL_FAILURE(walk(levels[2]));
        ASSERT_TRUE(showsPicture(levels[3])) << "level 3 of the folder not on screen";
        ASSERT_NO_FATAL_FAILURE(walk(levels[3]));
        const QImage closing = picture(QStringLiteral("closing"));
        ASSERT_TRUE(showsPicture(closing)) << "the closing picture did not follow the folder's last level";
    }
    EXPECT_EQ(builtInSection(home.storeFile()), builtIn) << fileBytes(home.storeFile()).toStdString();
    EXPECT_TRUE(fileBytes(home.storeFile()).contains("[SaveGame-")) << "the folder's progress has its own section";
}

} // namespace
} // namespace zw::e2e
