// The game on a player's folder of three mazes: the closing picture follows
// the third, codes of mazes the folder lacks are wrong codes, and progress
// goes to the folder's own store section, never to the built-in one.

#include "GameHarness.h"

#include "assets/LevelFolder.h"

#include <QRegularExpression>

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
    void enterCode(const QString& typed)
    {
        load();
        press(ColorStart);
        press(ColorLink);
        ASSERT_TRUE(c.Frame1Visible);
        c.Text1Text = typed;
        game.Command1_Click();
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

TEST(FolderSaveSection, SixteenHexDigitsOfTheCanonicalPath)
{
    const QString a = folderSaveSection(QStringLiteral("/home/eva/levels"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^SaveGame-[0-9a-f]{16}$")).match(a).hasMatch()) << a.toStdString();
    EXPECT_EQ(a, folderSaveSection(QStringLiteral("/home/eva/levels")));
    EXPECT_NE(a, folderSaveSection(QStringLiteral("/home/eva/levels2")));
}

} // namespace
} // namespace zw::test
