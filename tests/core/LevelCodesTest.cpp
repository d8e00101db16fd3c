// The home-page link and the level-code box.

#include "GameHarness.h"
#include "base/Levels.h"

namespace zw::test {
namespace {

class LevelCodes : public GameTest {};

TEST_F(LevelCodes, TheTwentyOneCodesInOrder)
{
    const char* expected[] = {
        "FJORD", "QUILT", "LANTERNS", "CRANE", "B(A)R(E)N", "WALNUT", "TUNDRA",
        "OWL", "MOSS", "GRAIN", "BLIZZARD", "PLUMB", "?5???", "?8???",
        "SKYLIGHT", "FERN", "OTTER", "EMBER", "GRANITE", "MARLIN", "RED HERRINGS",
    };
    const auto& codes = Game::levelCodes();
    for (int i = 0; i < ClosingLevel; ++i)
        EXPECT_EQ(codes[i], QLatin1String(expected[i])) << i + 1;
}

TEST_F(LevelCodes, TypedCodesAreUpperCasedAndComparedExactly)
{
    const struct { const char* typed; float level; } cases[] = {
        {"QUILT", 2}, {"quilt", 2}, {"QuIlT", 2}, {"b(a)r(e)n", 5}, {"?5???", 13},
        {"red herrings", 21}, {"Marlin", 20}, {"plumb", 12},
        {"PLUMB ", 0}, {" PLUMB", 0}, {"PLUM", 0}, {"", 0}, {"redherrings", 0}, {"?????", 0},
    };
    for (const auto& row : cases) {
        enterCode(QLatin1String(row.typed));
        EXPECT_FALSE(c.Frame1Visible) << row.typed;
        EXPECT_EQ(s.Level, row.level) << row.typed;
        EXPECT_EQ(s.FrameMode, 5) << row.typed;
    }
}

// Under a Turkish locale "quilt" upper-cases to "QUİLT" with a dotted
// capital; the locale-independent upper case still lets it in. Nothing else
// of the comparison gets looser.
TEST_F(LevelCodes, CodesWithAnIMatchUnderTurkishCasing)
{
    platform.casing = TestPlatform::Casing::Turkish;
    const struct { const char* typed; float level; } cases[] = {
        {"quilt", 2}, {"QUILT", 2}, {"Quilt", 2}, {"blizzard", 11}, {"grain", 10}, {"skylight", 15},
        {"granite", 19}, {"marlin", 20}, {"red herrings", 21}, {"fjord", 1},
        {"qu\u0131lt", 2},  // dotless i: I by either rule
        {"qu\u0130lt", 0},  // dotted capital: I by neither
        {"quilt ", 0}, {" quilt", 0}, {"quil", 0}, {"quiltquilt", 0},
    };
    for (const auto& row : cases) {
        enterCode(QString::fromUtf8(row.typed));
        EXPECT_EQ(s.Level, row.level) << row.typed;
        EXPECT_FALSE(c.Frame1Visible) << row.typed;
    }
}

TEST_F(LevelCodes, ClosingPictureCodeShowsItAfterTheSweepUnsaved)
{
    enterCode(QStringLiteral("Red Herrings"));
    EXPECT_EQ(s.Level, float(ClosingLevel));
    tick(30);
    EXPECT_EQ(shown(), ClosingLevel);
    EXPECT_EQ(platform.saves, 0);
}

TEST_F(LevelCodes, LevelCodeSavesItsLevel)
{
    enterCode(QStringLiteral("tundra"));
    EXPECT_EQ(saved("Saw1"), QStringLiteral("7"));
    tick(30);
    EXPECT_EQ(shown(), 7);
}

TEST_F(LevelCodes, WrongCodeOnTheMenuReplaysTheSweep)
{
    enterCode(QStringLiteral("nothing"));
    EXPECT_EQ(s.Level, 0.0f);
    EXPECT_EQ(platform.saves, 0);
    c.Picture = QImage();
    // Opening the box hovered the link, so the sweep starts from the link
    // frame once that move has ended, and the shrink ends on tick 40.
    tick(40);
    EXPECT_EQ(shown(), MenuCzech); // swapped in again
    EXPECT_EQ(s.FrameMode, 1);
    EXPECT_EQ(frame(), (Frame{40, 24, 240, 104}));
}

TEST_F(LevelCodes, WrongCodeOnALevelChangesToTheSameLevel)
{
    standOnLevel(4, 2);
    c.Text1Text = QStringLiteral("nothing");
    game.Command1_Click();
    EXPECT_EQ(s.Level, 4.0f);
    EXPECT_EQ(saved("Saw1"), QStringLiteral("4"));
}

TEST_F(LevelCodes, LinkOpensTheBoxOnlyOnTheMenuOutsideAGameAfterAStartPress)
{
    const struct { const char* what; float level; flag16 inGame, running; bool opens; } cases[] = {
        {"menu after a start press", 0, False, True, true},
        {"menu during a game", 0, True, True, false},
        {"menu without a start press", 0, False, False, false},
        {"level 1 with a run", 1, False, True, false},
        {"closing picture with a run", 21, False, True, false},
    };
    for (const auto& row : cases) {
        standOnLevel(int(row.level));
        c.Text1Text = QStringLiteral("typed before");
        c.Frame1Visible = false;
        s.InGame = row.inGame;
        s.Running = row.running;
        platform.opened.clear();
        press(ColorLink);
        EXPECT_EQ(platform.opened, QStringList{QStringLiteral("http://www.korvel.example/")}) << row.what;
        EXPECT_EQ(c.Frame1Visible, row.opens) << row.what;
        EXPECT_EQ(c.Text1Text, row.opens ? s.Texts(0, 5) : QStringLiteral("typed before")) << row.what;
        EXPECT_EQ(s.Running, row.opens ? False : row.running) << row.what;
    }
}

TEST_F(LevelCodes, LinkOnTheMenuWithARunAndNoGameShowsThePromptAndClearsTheRun)
{
    load();
    s.Lang = 1;
    s.Running = True;
    s.InGame = False;
    press(ColorLink);
    EXPECT_TRUE(c.Frame1Visible);
    EXPECT_EQ(c.Text1Text, QStringLiteral("Pasword..."));
    EXPECT_EQ(s.Running, False);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture2);
    EXPECT_EQ(platform.opened.size(), 1);
}

} // namespace
} // namespace zw::test
