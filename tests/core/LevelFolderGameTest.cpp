// The game on a player's folder of three mazes: the closing picture follows
// the third, codes of mazes the folder lacks are wrong codes, and progress
// goes to the folder's own store section, never to the built-in one.

#include "GameHarness.h"

#include "app/LevelFolder.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace zw::test {
namespace {

const QString FolderSection = QStringLiteral("SaveGame-0123456789abcdef");

class FolderGame : public GameTest {
protected:
    FolderGame() : GameTest(LevelSet{3, FolderSection}) {}

    QString savedInFolder(const char* key) const
    {
        return platform.settings.value(FolderSection + QStringLiteral("/") + QLatin1String(key), QStringLiteral("<none>"));
    }
    bool builtInTouched() const
    {
        for (auto it = platform.settings.begin(); it != platform.settings.end(); ++it)
            if (it.key().startsWith(QStringLiteral("SaveGame/")))
                return true;
        return false;
    }
};

TEST_F(FolderGame, GoalOfTheLastMazeLeadsToTheClosingPicture)
{
    standOnLevel(2, 1);
    startRun();
    press(ColorGoal);
    EXPECT_EQ(s.Level, 3.0f);
    EXPECT_EQ(savedInFolder("Saw1"), QStringLiteral("3"));
    tick(30);
    startRun();
    press(ColorGoal);
    EXPECT_EQ(s.Level, float(ClosingLevel));
    tick(30);
    EXPECT_EQ(shown(), ClosingLevel);
    EXPECT_EQ(savedInFolder("Saw1"), QStringLiteral("3"));
    EXPECT_FALSE(builtInTouched());
}

TEST_F(FolderGame, CodesOpenOnlyTheFoldersMazesAndTheClosingPicture)
{
    const struct { const char* typed; float level; } cases[] = {
        {"FJORD", 1}, {"LANTERNS", 3}, {"CRANE", 0}, {"MARLIN", 0}, {"RED HERRINGS", 21},
    };
    for (const auto& row : cases) {
        enterCode(QLatin1String(row.typed));
        EXPECT_EQ(s.Level, row.level) << row.typed;
    }
}

TEST_F(FolderGame, ContinueReadsTheFoldersSectionAndRefusesALevelItLacks)
{
    platform.settings[FolderSection + QStringLiteral("/Saw1")] = QStringLiteral("3");
    platform.settings[FolderSection + QStringLiteral("/Saw2")] = QStringLiteral("7");
    platform.settings[FolderSection + QStringLiteral("/Saw3")] = QStringLiteral("10");
    platform.settings[FolderSection + QStringLiteral("/Saw4")] = QStringLiteral("1");
    // The built-in game's progress is elsewhere and plays no part.
    platform.settings[QStringLiteral("SaveGame/Saw1")] = QStringLiteral("12");
    standOnLevel(0);
    press(ColorContinue);
    EXPECT_EQ(s.Level, 3.0f);
    EXPECT_EQ(s.Deaths, 7.0f);
    EXPECT_TRUE(platform.boxes.isEmpty());

    // A level past the folder's last is data the game could not have written.
    platform.settings[FolderSection + QStringLiteral("/Saw1")] = QStringLiteral("4");
    platform.settings[FolderSection + QStringLiteral("/Saw3")] = QStringLiteral("11");
    platform.settings[FolderSection + QStringLiteral("/Saw4")] = QStringLiteral("3");
    standOnLevel(0);
    press(ColorContinue);
    EXPECT_EQ(platform.boxes.size(), 1);
    EXPECT_EQ(platform.settings.value(QStringLiteral("SaveGame/Saw1")), QStringLiteral("12"));
}

// The folder's mazes are kept as 8-bit indices of the key, each pixel the
// colour it was painted in, and the store shares them without a copy.
TEST(FolderStore, MazesKeptAsKeyIndicesAndShared)
{
    QTemporaryDir dir;
    QImage maze(640, 480, QImage::Format_RGB32);
    maze.fill(QRgb(keyrgb::White));
    for (int x = 60; x < 580; ++x)
        for (int y = 220; y < 260; ++y)
            maze.setPixel(x, y, keyrgb::Black);
    for (int x = 70; x < 90; ++x)
        for (int y = 230; y < 250; ++y) {
            maze.setPixel(x, y, keyrgb::Red);
            maze.setPixel(x + 480, y, keyrgb::Green);
        }
    maze.setPixel(5, 5, keyrgb::DarkRed);
    maze.setPixel(600, 5, keyrgb::Orange);
    ASSERT_TRUE(maze.save(dir.filePath(QStringLiteral("level-01.png"))));

    const LevelFolder folder = openLevelFolder(dir.path(), 1);
    ASSERT_TRUE(folder.findings.isEmpty()) << folder.findings.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(folder.mazes);
    EXPECT_EQ(folder.levels.lastMaze, 1);
    const QImage& kept = folder.mazes->at(0);
    EXPECT_EQ(kept.format(), QImage::Format_Indexed8);
    for (const QPoint p : {QPoint(0, 0), QPoint(100, 240), QPoint(75, 235), QPoint(555, 235), QPoint(5, 5), QPoint(600, 5)})
        EXPECT_EQ(pixelColour(kept, p.x(), p.y()), fromRgb(maze.pixel(p))) << p.x() << "," << p.y();

    const std::unique_ptr<PictureStore> store = makeFolderStore(folder.mazes);
    EXPECT_EQ(store->Picture3(1).constBits(), kept.constBits());
    EXPECT_TRUE(store->Picture3(2).isNull());
    EXPECT_FALSE(store->Picture3(ClosingLevel).isNull());
}

TEST(FolderSaveSection, SixteenHexDigitsOfTheCanonicalPath)
{
    const QString a = folderSaveSection(QStringLiteral("/home/eva/levels"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^SaveGame-[0-9a-f]{16}$")).match(a).hasMatch()) << a.toStdString();
    EXPECT_EQ(a, folderSaveSection(QStringLiteral("/home/eva/levels")));
    EXPECT_NE(a, folderSaveSection(QStringLiteral("/home/eva/levels2")));
}

} // namespace
} // namespace zw::test
