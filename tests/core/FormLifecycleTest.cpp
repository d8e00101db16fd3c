// Start-up, shut-down and the end of the program.

#include "GameHarness.h"

namespace zw::test {
namespace {

class FormLifecycle : public GameTest {};

TEST_F(FormLifecycle, LoadLeavesTheMenuReady)
{
    load();
    EXPECT_EQ(storesMade, 1);
    EXPECT_EQ(shown(), MenuCzech);
    EXPECT_EQ(c.Picture.cacheKey(), game.Form2().Picture4().cacheKey()); // shared, not copied
    EXPECT_EQ(c.Cursor, PointerPicture::Picture1);
    EXPECT_EQ(c.Label1ToolTip, QStringLiteral("Jazyk / Language"));
    EXPECT_EQ(c.Label1Caption, QString());
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Počet zabití : 0")); // the designer's text stays
    EXPECT_FALSE(c.Frame1Visible);
    EXPECT_FALSE(c.Timer1Enabled);
    EXPECT_EQ(frame(), (Frame{40, 24, 240, 104}));
    EXPECT_EQ(s.Level, 0.0f);
    EXPECT_EQ(s.FrameMode, 1);
    EXPECT_EQ(s.Lang, 0);
    EXPECT_EQ(s.MusicOn, False);
    EXPECT_EQ(s.Texts(1, 3), QStringLiteral("Quit this game"));
    EXPECT_EQ(s.Deaths, 0.0f);
    EXPECT_EQ(s.Running, False);
    EXPECT_EQ(s.Live, False);
    EXPECT_TRUE(platform.log.isEmpty());
}

TEST_F(FormLifecycle, FirstMouseEventPicksTheIdlePointer)
{
    load();
    move(Inert);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture2);
    EXPECT_EQ(storesMade, 1); // made once, used by every event
}

TEST_F(FormLifecycle, UnloadEndsTheProgram)
{
    load();
    game.Form_Unload();
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(platform.ends, 1);
    EXPECT_TRUE(platform.mci.isEmpty());
}

TEST_F(FormLifecycle, NothingRunsAfterTheEnd)
{
    load();
    press(ColorQuit);
    ASSERT_TRUE(game.ended());
    const QString label1 = c.Label1Caption, label2 = c.Label2Caption;
    const auto queries = game.colourQueries();
    const QStringList log = platform.log;

    move(ColorInfo);
    press(ColorNewGame);
    tick(20);
    game.Label1_Click();
    game.Label2_Click();
    game.Command1_Click();
    game.Form_Unload();
    game.Form_Load();

    EXPECT_EQ(c.Label1Caption, label1);
    EXPECT_EQ(c.Label2Caption, label2);
    EXPECT_EQ(game.colourQueries(), queries);
    EXPECT_EQ(s.Level, 0.0f);
    EXPECT_EQ(s.Lang, 0);
    EXPECT_EQ(s.Tick, 0.0f);
    EXPECT_EQ(platform.log, log);
    EXPECT_EQ(platform.ends, 1);
}

} // namespace
} // namespace zw::test
