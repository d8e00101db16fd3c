// A level pack in the real window: three levels snapped and packed with
// zigwalk-check, played to the closing picture over three starts of the game.
// The window names the pack; continue comes back to the pack's level after a
// restart and after the pack file is renamed and moved; the built-in game's
// progress is untouched. A pack with an entry that leaves it is refused with
// a box, the entry named on stderr and exit code 2.

#include "GameOnScreen.h"
#include "MazePath.h"
#include "PlayerFixtures.h"
#include "StoreSections.h"
#include "ZipBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

class LevelPack : public GameScreenTest {
protected:
    // Back to the menu from the level on show, and quit.
    void menuAndQuit(RunningGame& game, const QImage& level, const QImage& menu)
    {
        pressAt(*solidSpot(level, rgbOf(ColorMenu)));
        ASSERT_TRUE(showsPicture(menu));
        pressAt(*solidSpot(menu, rgbOf(ColorQuit)));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs));
    }
};

TEST_F(LevelPack, MadeByTheCheckerPlayedToTheClosingPictureWhereverItLies)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    const QString folder = home.path() + QStringLiteral("/my-levels");
    QDir().mkpath(folder);
    QImage levels[4];
    for (int k = 1; k <= 3; ++k) {
        const QString file = folder + QStringLiteral("/level-0%1.png").arg(k);
        ASSERT_TRUE(fixtures::paintedLevel(k).save(file));
        QProcess snap;
        snap.start(QStringLiteral(ZIGWALK_CHECK_PROGRAM), {QStringLiteral("--snap"), file, file});
        ASSERT_TRUE(snap.waitForFinished(30000));
        ASSERT_EQ(snap.exitCode(), 0) << snap.readAllStandardError().toStdString();
        levels[k] = QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    const QString pack = home.path() + QStringLiteral("/three.zigwalk");
    {
        QProcess packing;
        packing.start(QStringLiteral(ZIGWALK_CHECK_PROGRAM),
                      {QStringLiteral("--pack"), folder, pack, QStringLiteral("--name"), QStringLiteral("Tři ohyby"),
                       QStringLiteral("--author"), QStringLiteral("Jana")});
        ASSERT_TRUE(packing.waitForFinished(60000));
        ASSERT_EQ(packing.exitCode(), 0) << packing.readAllStandardOutput().toStdString()
                                         << packing.readAllStandardError().toStdString();
    }
    // The folder is not needed once packed.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    const QByteArray builtIn = "[SaveGame]\nSaw1=5\nSaw2=3\nSaw3=8\nSaw4=3\n";
    QDir().mkpath(QFileInfo(home.storeFile()).absolutePath());
    {
        QFile store(home.storeFile());
        ASSERT_TRUE(store.open(QIODevice::WriteOnly) && store.write(builtIn) == builtIn.size());
    }

    windowTitle = QStringLiteral("Zig-walk – Tři ohyby (Jana)");
    const QImage menu = picture(QStringLiteral("menu-cs"));
    {
        RunningGame game(x, home, {gameProgram(), pack});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        ASSERT_TRUE(findWindow()) << "no window named after the pack";
        ASSERT_TRUE(showsPicture(menu)) << "menu not on screen";
        pressAt(*solidSpot(menu, rgbOf(ColorNewGame)));
        ASSERT_TRUE(showsPicture(levels[1])) << "level 1 of the pack not on screen; differences: "
                                             << differences(client(), levels[1]);
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[1]));
        ASSERT_TRUE(showsPicture(levels[2])) << "level 2 of the pack not on screen";
        ASSERT_NO_FATAL_FAILURE(menuAndQuit(game, levels[2], menu));
    }
    {
        RunningGame game(x, home, {gameProgram(), pack});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        ASSERT_TRUE(findWindow()) << "no game window after the restart";
        ASSERT_TRUE(showsPicture(menu));
        pressAt(*solidSpot(menu, rgbOf(ColorContinue)));
        ASSERT_TRUE(showsPicture(levels[2])) << "continue did not come back to the pack's level 2";
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[2]));
        ASSERT_TRUE(showsPicture(levels[3])) << "level 3 of the pack not on screen";
        ASSERT_NO_FATAL_FAILURE(menuAndQuit(game, levels[3], menu));
    }
    // Renamed and moved: the same levels, the same progress.
    const QString moved = home.path() + QStringLiteral("/shared/from-jana.zigwalk");
    QDir().mkpath(QFileInfo(moved).absolutePath());
    ASSERT_TRUE(QFile::rename(pack, moved));
    {
        RunningGame game(x, home, {gameProgram(), moved});
        ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
        ASSERT_TRUE(findWindow()) << "no game window for the moved pack";
        ASSERT_TRUE(showsPicture(menu));
        pressAt(*solidSpot(menu, rgbOf(ColorContinue)));
        ASSERT_TRUE(showsPicture(levels[3])) << "continue did not come back to level 3 of the moved pack";
        ASSERT_NO_FATAL_FAILURE(walkLevel(levels[3]));
        ASSERT_TRUE(showsPicture(picture(QStringLiteral("closing"))))
            << "the closing picture did not follow the pack's last level";
    }
    EXPECT_EQ(builtInSection(home.storeFile()), builtIn) << fileBytes(home.storeFile()).toStdString();
    EXPECT_TRUE(fileBytes(home.storeFile()).contains("[SaveGame-pack-")) << "the pack's progress has its own section";
}

TEST_F(LevelPack, HostilePackIsRefusedWithTheEntryNamed)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    GameHome home;
    const QString pack = home.path() + QStringLiteral("/evil.zigwalk");
    {
        const QByteArray bytes = fixtures::zipBytes({{"level-01.png", fixtures::pngBytes(fixtures::playerLevel()), true},
                                                     {"../../.bashrc", "echo hello\n"}});
        QFile file(pack);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const Refusal refused = startRefused(home, {pack});
    ASSERT_TRUE(refused.boxShown) << "no message box";
    ASSERT_TRUE(refused.ended) << "the box did not close";
    EXPECT_EQ(refused.exitCode, 2);
    const QString& err = refused.stderrText;
    EXPECT_TRUE(err.contains(QStringLiteral("Balíček úrovní"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("../../.bashrc: položka: vede ven z balíčku"))) << err.toStdString();
    EXPECT_TRUE(x.windowsNamed(QStringLiteral("Zig-walk")).isEmpty()) << "a refused pack shows no game";
}

} // namespace
} // namespace zw::e2e
