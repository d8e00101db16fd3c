// A player's own levels in the real window: three levels painted with soft
// edges are refused with the findings, snapped with zigwalk-check, then
// played with the mouse to the closing picture; a restart and continue come
// back to the folder's level, and the built-in game's progress is untouched.
// Folders built to hang the game or let a run past its walls are refused
// at once, and Qt's own options reach Qt.

#include "GameOnScreen.h"
#include "MazePath.h"
#include "HostileFiles.h"
#include "PlayerFixtures.h"
#include "StoreSections.h"

#include <QDir>
#include <QPainter>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <unistd.h>

namespace zw::e2e {
namespace {

class LevelFolder : public GameScreenTest {};

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
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[1]));
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
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[2]));
        ASSERT_TRUE(showsPicture(levels[3])) << "level 3 of the folder not on screen";
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[3]));
        const QImage closing = picture(QStringLiteral("closing"));
        ASSERT_TRUE(showsPicture(closing)) << "the closing picture did not follow the folder's last level";
    }
    EXPECT_EQ(builtInSection(home.storeFile()), builtIn) << fileBytes(home.storeFile()).toStdString();
    EXPECT_TRUE(fileBytes(home.storeFile()).contains("[SaveGame-")) << "the folder's progress has its own section";
}

// Twenty names for one 8 MB picture whose image data inflates to 8 GiB
// after its last row: the game once decoded all of it, for minutes, before
// showing anything.
TEST_F(LevelFolder, ImageDataBombsAreRefusedWithinTwoSeconds)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    const QString folder = home.path() + QStringLiteral("/bombs");
    QDir().mkpath(folder);
    const QByteArray bomb = fixtures::rgbPng(fixtures::playerLevel(), {{}, qint64(8000) << 20});
    {
        QFile f(folder + QStringLiteral("/level-01.png"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bomb) == bomb.size());
    }
    for (int k = 2; k <= 20; ++k)
        ASSERT_EQ(::link(QFile::encodeName(folder + QStringLiteral("/level-01.png")).constData(),
                         QFile::encodeName(folder + QStringLiteral("/level-%1.png").arg(k, 2, 10, QLatin1Char('0'))).constData()),
                  0);

    const Refusal refused = startRefused(home, {folder});
    ASSERT_TRUE(refused.boxShown) << "no refusal within a minute";
    EXPECT_LT(refused.boxAfterMs, 2000) << "the refusal took " << refused.boxAfterMs << " ms";
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.stderrText.contains(
        QStringLiteral("level-01.png: soubor: nelze číst jako obrázek: obrazová data pokračují za posledním řádkem")))
        << refused.stderrText.toStdString();
    EXPECT_FALSE(refused.stderrText.contains(QStringLiteral("libpng"))) << refused.stderrText.toStdString();
}

// A path that runs out of the picture lets a run leave the window there and
// come back in past every wall.
TEST_F(LevelFolder, PathOnThePicturesEdgeIsRefusedWithItsPlace)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    const QString folder = home.path() + QStringLiteral("/open-edge");
    QDir().mkpath(folder);
    QImage level = fixtures::playerLevel();
    QPainter(&level).fillRect(QRect(0, 220, 60, 40), Qt::black);
    ASSERT_TRUE(level.save(folder + QStringLiteral("/level-01.png")));

    const Refusal refused = startRefused(home, {folder});
    ASSERT_TRUE(refused.boxShown) << "no message box";
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.stderrText.contains(QStringLiteral("level-01.png: okraj: černá, červená nebo zelená na okraji obrázku")))
        << refused.stderrText.toStdString();
    EXPECT_TRUE(refused.stderrText.contains(QStringLiteral("40 px, první na (0,220)"))) << refused.stderrText.toStdString();
}

// Qt's own -platform reaches Qt: asked for X while the environment says
// offscreen, the window shows on X; asked for offscreen while it says X, the
// game runs with no window.
TEST_F(LevelFolder, QtsPlatformOptionIsQts)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    {
        QProcessEnvironment offscreen;
        offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        RunningGame game(x, home, {gameProgram(), QStringLiteral("-platform"), QStringLiteral("xcb")}, offscreen);
        ASSERT_TRUE(findWindow()) << "no window on X with -platform xcb";
        EXPECT_TRUE(game.alive());
    }
    {
        RunningGame game(x, home, {gameProgram(), QStringLiteral("-platform"), QStringLiteral("offscreen")});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        const QString maps = QStringLiteral("/proc/%1/maps").arg(game.process().processId());
        EXPECT_TRUE(waitUntil([&] { return fileBytes(maps).contains("libqoffscreen"); }, StepTimeoutMs))
            << "the offscreen platform was never loaded";
        EXPECT_TRUE(game.alive()) << "the game did not keep running offscreen";
        EXPECT_TRUE(x.windowsNamed(QStringLiteral("Zig-walk")).isEmpty()) << "a window on X despite -platform offscreen";
    }
}

} // namespace
} // namespace zw::e2e
