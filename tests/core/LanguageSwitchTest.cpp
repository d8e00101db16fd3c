// Clicking the status line switches the language and the menu picture.

#include "GameHarness.h"

namespace zw::test {
namespace {

class LanguageSwitch : public GameTest {};

TEST_F(LanguageSwitch, OnTheMenuAndBackAgain)
{
    load();
    game.Label1_Click();
    EXPECT_EQ(s.Lang, 1);
    EXPECT_EQ(game.Form2().Picture3(0).cacheKey(), game.Form2().Picture5().cacheKey());
    EXPECT_EQ(shown(), MenuEnglish); // at once
    EXPECT_EQ(c.Label1Caption, QStringLiteral("v1.0.          Id.:25210          >>> EN"));
    EXPECT_EQ(c.Label1ToolTip, QStringLiteral("Language / Language"));
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Music     Deaths : 0")); // the designer's text is gone

    game.Label1_Click();
    EXPECT_EQ(s.Lang, 0);
    EXPECT_EQ(game.Form2().Picture3(0).cacheKey(), game.Form2().Picture4().cacheKey());
    EXPECT_EQ(shown(), MenuCzech);
    EXPECT_EQ(c.Label1Caption, QStringLiteral("v1.0.          Id.:25210          >>> CZ"));
    EXPECT_EQ(c.Label1ToolTip, QStringLiteral("Jazyk / Language"));
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Hudba     Počet zabití : 0"));
}

TEST_F(LanguageSwitch, OnALevelKeepsItsPictureUntilTheMenuComesBack)
{
    standOnLevel(4, 12);
    const GameState before = s;
    const auto lines = c.Line;
    game.Label1_Click();
    EXPECT_EQ(shown(), 4);
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Music     Deaths : 12"));
    EXPECT_EQ(s.Level, before.Level);
    EXPECT_EQ(s.FrameMode, before.FrameMode);
    EXPECT_EQ(s.Running, before.Running);
    EXPECT_EQ(c.Line[0].X1, lines[0].X1);
    EXPECT_FALSE(c.Timer1Enabled);

    press(ColorMenu);
    tick(30);
    EXPECT_EQ(shown(), MenuEnglish);
}

TEST_F(LanguageSwitch, OpenCodeBoxKeepsItsPromptInTheOldLanguage)
{
    load();
    press(ColorStart);
    press(ColorLink);
    ASSERT_TRUE(c.Frame1Visible);
    EXPECT_EQ(c.Text1Text, QStringLiteral("Zadej heslo..."));
    game.Label1_Click();
    EXPECT_EQ(c.Text1Text, QStringLiteral("Zadej heslo..."));

    press(ColorStart); // opened again, the prompt follows the language
    press(ColorLink);
    EXPECT_EQ(c.Text1Text, QStringLiteral("Pasword..."));
}

} // namespace
} // namespace zw::test
