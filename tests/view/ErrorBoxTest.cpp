// A run-time error inside a handler: one box, the rest of that handler
// abandoned, the game going on afterwards; and while the box is open no other
// handler may run, the timer included.

#include "ShownWindow.h"

#include <gtest/gtest.h>

namespace zw::test {
namespace {

TEST(ErrorBox, OneBoxPerErrorAndTheGameGoesOn)
{
    ShownWindow shown;
    shown.platform.directoryFails = true;
    ShownWindow::click(shown.label("Label2"), {5, 6});

    ASSERT_EQ(shown.errorBoxes.size(), 1);
    EXPECT_TRUE(shown.errorBoxes[0].startsWith(QStringLiteral("Run-time error '52':")))
        << shown.errorBoxes[0].toStdString();
    EXPECT_EQ(shown.game.state().MusicOn, -1); // the step before the failure stands
    EXPECT_TRUE(shown.platform.mci.isEmpty());  // the steps after it never ran

    shown.platform.directoryFails = false;
    shown.move({600, 200}); // over black: the version line
    EXPECT_EQ(shown.label("Label1")->caption(), shown.game.state().Texts(0, 7));
    EXPECT_EQ(shown.errorBoxes.size(), 1);
}

TEST(ErrorBox, TimerHoldsWhileTheBoxIsOpenAndRunsAgainAfter)
{
    ShownWindow shown;
    shown.move(centre(patchOf(ColorNewGame))); // starts the frame timer
    ASSERT_TRUE(shown.timer()->isActive());

    bool activeDuringBox = true;
    shown.whileBoxIsOpen = [&] { activeDuringBox = shown.timer()->isActive(); };
    shown.platform.directoryFails = true;
    ShownWindow::click(shown.label("Label2"), {5, 6});

    ASSERT_EQ(shown.errorBoxes.size(), 1);
    EXPECT_FALSE(activeDuringBox);
    EXPECT_TRUE(shown.timer()->isActive());
}

TEST(ErrorBox, NothingElseRunsWhileTheBoxIsOpen)
{
    ShownWindow shown;
    shown.move(centre(patchOf(ColorNewGame)));
    const auto linesBefore = shown.game.controls().Line;

    std::uint64_t queriesBefore = 0, queriesAfter = 0;
    bool closed = true;
    shown.whileBoxIsOpen = [&] {
        queriesBefore = shown.game.colourQueries();
        shown.press(centre(patchOf(ColorNewGame)));                 // would start a game
        shown.tick(3);                                      // would move the frame
        ShownWindow::click(shown.label("Label1"), {1, 6}); // would switch the language
        closed = shown.window.close();                      // would unload the game
        queriesAfter = shown.game.colourQueries();
    };
    shown.platform.directoryFails = true;
    ShownWindow::click(shown.label("Label2"), {5, 6});

    EXPECT_EQ(shown.errorBoxes.size(), 1);
    EXPECT_EQ(queriesAfter, queriesBefore);
    EXPECT_EQ(shown.game.state().Level, 0.0f);
    EXPECT_EQ(shown.game.state().Lang, 0);
    EXPECT_EQ(shown.game.state().Tick, 0.0f);
    for (std::size_t i = 0; i < linesBefore.size(); ++i)
        EXPECT_EQ(shown.game.controls().Line[i].Y1, linesBefore[i].Y1);
    EXPECT_FALSE(closed);
    EXPECT_EQ(shown.platform.ends, 0);
    EXPECT_TRUE(shown.window.isVisible());

    // Once the box is closed, events count again.
    shown.press(centre(patchOf(ColorNewGame)));
    EXPECT_EQ(shown.game.state().Level, 1.0f);
}

} // namespace
} // namespace zw::test
