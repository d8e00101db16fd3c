// Events from the player reach the right handler, once, and nothing else:
// the window's mouse, the labels, the code box, closing, the timer.

#include "ShownWindow.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace zw::test {
namespace {

QImage cursorImage(const QCursor& cursor)
{
    return cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(WindowEvents, CursorFollowsTheRunState)
{
    ShownWindow shown;
    const QImage run = shown.game.Form2().Picture1().convertToFormat(QImage::Format_ARGB32);
    const QImage idle = shown.game.Form2().Picture2().convertToFormat(QImage::Format_ARGB32);
    ASSERT_NE(run, idle);

    struct Step {
        const char* what;
        std::function<void()> act;
        const QImage& pointer;
    };
    const Step steps[] = {
        {"after loading: the run pointer", [] {}, run},
        {"first move over the window: idle", [&] { shown.move({600, 200}); }, idle},
        {"press on the start spot: a run is on", [&] { shown.press(centre(patchOf(ColorStart))); }, run},
        {"right press elsewhere keeps the run", [&] { shown.press({600, 200}, Qt::RightButton); }, run},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(cursorImage(shown.window.cursor()), step.pointer);
        EXPECT_EQ(shown.window.cursor().hotSpot(), QPoint(16, 16));
    }
    EXPECT_EQ(shown.window.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32), run);
}

// Whatever the mouse does over a label, the rules never see it: they would
// have asked for the colour under the pointer at least once.
TEST(WindowEvents, MouseEventsOverLabelsStayWithTheLabels)
{
    ShownWindow shown;
    struct Gesture {
        const char* what;
        std::function<void(QWidget*)> act;
    };
    const Gesture gestures[] = {
        {"move", [](QWidget* w) { ShownWindow::move(w, {1, 6}); }},
        {"move with the left button held", [](QWidget* w) { ShownWindow::move(w, {1, 6}, Qt::LeftButton); }},
        {"right click", [](QWidget* w) { ShownWindow::click(w, {1, 6}, Qt::RightButton); }},
        {"middle press", [](QWidget* w) { ShownWindow::press(w, {1, 6}, Qt::MiddleButton); }},
        {"double click",
         [](QWidget* w) { ShownWindow::send(w, QEvent::MouseButtonDblClick, {1, 6}, Qt::RightButton, Qt::RightButton); }},
    };
    for (const char* name : {"Label1", "Label2"}) {
        for (const Gesture& gesture : gestures) {
            SCOPED_TRACE(std::string(name) + ": " + gesture.what);
            const auto queries = shown.game.colourQueries();
            gesture.act(shown.label(name));
            EXPECT_EQ(shown.game.colourQueries(), queries);
            EXPECT_EQ(shown.game.controls().Label1Caption, QString());
            EXPECT_EQ(shown.game.controls().Cursor, PointerPicture::Picture1);
            EXPECT_EQ(shown.game.state().Lang, 0);
            EXPECT_EQ(shown.game.state().MusicOn, 0);
        }
    }
}

TEST(WindowEvents, LeftClickOnTheDeathsLineSwitchesTheMusic)
{
    ShownWindow shown;
    shown.platform.addMusic();
    const auto queries = shown.game.colourQueries();
    ShownWindow::click(shown.label("Label2"), {5, 6});
    EXPECT_EQ(shown.game.state().MusicOn, -1);
    EXPECT_EQ(shown.platform.mci.last(), QStringLiteral("Play music.mid"));
    EXPECT_EQ(shown.game.colourQueries(), queries);
}

TEST(WindowEvents, ClickOnTheStatusLineSwitchesTheLanguage)
{
    ShownWindow shown;
    auto* label1 = shown.label("Label1");

    // A press that is let go outside the label is no click.
    ShownWindow::press(label1, {1, 6});
    ShownWindow::release(label1, {40, 6});
    EXPECT_EQ(shown.game.state().Lang, 0);

    ShownWindow::click(label1, {1, 6});
    EXPECT_EQ(shown.game.state().Lang, 1);
    EXPECT_TRUE(label1->caption().endsWith(QStringLiteral(">>> EN"))) << label1->caption().toStdString();
    EXPECT_EQ(label1->toolTip(), QStringLiteral("Language / Language"));
    EXPECT_EQ(shown.label("Label2")->caption(), QStringLiteral("Music     Deaths : 0"));
    EXPECT_EQ(markOf(shown.screen()), MenuEnglish);
}

TEST(WindowEvents, EnterInTheCodeBoxConfirmsTheCode)
{
    ShownWindow shown;
    // On the menu, a press on the start spot and then on the link opens the box.
    shown.press(centre(patchOf(ColorStart)));
    shown.press(centre(patchOf(ColorLink)));
    auto* frame1 = shown.child("Frame1");
    auto* text1 = shown.window.findChild<QLineEdit*>("Text1");
    ASSERT_TRUE(frame1->isVisible());
    EXPECT_EQ(text1->text(), QStringLiteral("Zadej heslo..."));
    EXPECT_EQ(shown.window.focusWidget(), text1);

    const QString code = Game::levelCodes()[1].toLower(); // level 2, typed in small letters
    QTest::keyClicks(text1, code);                        // over the selected prompt
    EXPECT_EQ(shown.game.controls().Text1Text, code);
    EXPECT_EQ(shown.game.state().Level, 0.0f);

    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(shown.game.state().Level, 2.0f);
    EXPECT_FALSE(frame1->isVisible());
    EXPECT_EQ(text1->text(), code);
}

// The box holds well over the longest code and no more, however much is
// typed or pasted into it; the game reads what the box holds, and a code
// typed over the flood still works.
TEST(WindowEvents, TheCodeBoxHoldsSixtyFourCharactersWhateverArrives)
{
    ShownWindow shown;
    shown.press(centre(patchOf(ColorStart)));
    shown.press(centre(patchOf(ColorLink)));
    auto* text1 = shown.window.findChild<QLineEdit*>("Text1");
    ASSERT_TRUE(text1 && text1->isVisible());
    int longest = 0;
    for (const QString& code : Game::levelCodes())
        longest = std::max(longest, int(code.size()));
    ASSERT_GT(64, longest);

    const QString typed = QStringLiteral("abcdefghij").repeated(20);
    const QString pasted = QStringLiteral("0123456789").repeated(1000);
    const struct { const char* how; std::function<void()> put; QString holds; } cases[] = {
        {"typed", [&] { QTest::keyClicks(text1, typed); }, typed.left(64)},
        {"pasted", [&] { QApplication::clipboard()->setText(pasted); QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier); },
         pasted.left(64)},
        {"typed after a full box", [&] { QTest::keyClicks(text1, typed); QTest::keyClicks(text1, typed); }, typed.left(64)},
    };
    for (const auto& row : cases) {
        text1->selectAll();
        QTest::keyClick(text1, Qt::Key_Delete);
        row.put();
        EXPECT_EQ(text1->text(), row.holds) << row.how;
        EXPECT_EQ(shown.game.controls().Text1Text, row.holds) << row.how;
    }

    text1->selectAll();
    QTest::keyClicks(text1, QStringLiteral("owl"));
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(shown.game.state().Level, 8.0f);
}

TEST(WindowEvents, ButtonsAndReleasesReachTheRulesAsTheyAre)
{
    ShownWindow shown;
    // Left and right held together are not "the left button": no run starts.
    shown.move(centre(patchOf(ColorStart)), Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(shown.game.state().Running, 0);
    // A right press on the new-game item only hovers it.
    shown.press(centre(patchOf(ColorNewGame)), Qt::RightButton);
    EXPECT_EQ(shown.game.state().FrameMode, 2);
    EXPECT_EQ(shown.game.state().Level, 0.0f);
    // A release is no event of the game.
    const auto queries = shown.game.colourQueries();
    ShownWindow::release(&shown.window, centre(patchOf(ColorNewGame)));
    EXPECT_EQ(shown.game.colourQueries(), queries);
    // The second press of a quick double click comes as a double-click
    // event; it is a press like any other and starts a new game.
    ShownWindow::send(&shown.window, QEvent::MouseButtonDblClick, centre(patchOf(ColorNewGame)), Qt::LeftButton,
                      Qt::LeftButton);
    EXPECT_GT(shown.game.colourQueries(), queries);
    EXPECT_EQ(shown.game.state().Level, 1.0f);
}

TEST(WindowEvents, TimerRunsWhileTheGameWantsItAndTicksMoveTheFrame)
{
    ShownWindow shown;
    EXPECT_FALSE(shown.timer()->isActive());
    EXPECT_EQ(shown.timer()->interval(), 50);

    shown.move(centre(patchOf(ColorNewGame))); // the frame heads for the new-game item
    EXPECT_TRUE(shown.timer()->isActive());
    shown.tick(10); // the first move ends on its tenth tick
    const auto& top = shown.game.controls().Line1();
    EXPECT_FLOAT_EQ(top.Y1, 104.0f);
    EXPECT_FLOAT_EQ(top.X2, 288.0f);
    EXPECT_TRUE(shown.timer()->isActive());
}

TEST(WindowEvents, ClosingTheWindowUnloadsTheGame)
{
    ShownWindow shown;
    shown.platform.addMusic();
    EXPECT_TRUE(shown.window.close());
    EXPECT_EQ(shown.platform.mci, QStringList{QStringLiteral("Stop music.mid")});
    EXPECT_EQ(shown.platform.ends, 1);
    EXPECT_FALSE(shown.window.isVisible());
}

TEST(WindowEvents, QuitItemEndsTheGameAndNothingRunsAfter)
{
    ShownWindow shown;
    shown.move(centre(patchOf(ColorNewGame)));
    shown.press(centre(patchOf(ColorQuit)));
    EXPECT_EQ(shown.platform.ends, 1);
    EXPECT_TRUE(shown.platform.mci.isEmpty()); // the quit item stops no music
    EXPECT_FALSE(shown.window.isVisible());
    EXPECT_FALSE(shown.timer()->isActive());

    const auto queries = shown.game.colourQueries();
    shown.move({600, 200});
    shown.tick();
    EXPECT_EQ(shown.game.colourQueries(), queries);
    EXPECT_EQ(shown.platform.ends, 1);
}

} // namespace
} // namespace zw::test
