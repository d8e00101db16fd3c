// What the window draws: the picture pixel for pixel, the yellow frame over
// it, and only the parts that changed are repainted after a handler.

#include "ShownWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zw::test {
namespace {

const QColor Yellow(255, 255, 0);

// Within reach of the frame's pen, whose edges are 3 pixels wide.
bool nearFrame(QPoint p, const QRect& frame)
{
    const QRect outer = frame.adjusted(-3, -3, 3, 3);
    const QRect inner = frame.adjusted(3, 3, -3, -3);
    return outer.contains(p) && !inner.contains(p);
}

// Every 7th pixel of the picture area away from the frame shows the
// picture's own colour; returns how many did not.
int picturePixelsWrong(const QImage& screen, const QImage& picture, const QRect& frame)
{
    int wrong = 0;
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7)
            if (!nearFrame({x, y}, frame) && screen.pixel(x, y) != picture.pixel(x, y))
                ++wrong;
    return wrong;
}

QRect frameRect(const Controls& controls)
{
    const auto& top = controls.Line1();
    const auto& bottom = controls.Line4();
    // The edges may have crossed on the way (left beyond right), so the
    // corners are sorted before they make a rectangle.
    const auto [left, right] = std::minmax({qRound(top.X1), qRound(bottom.X2)});
    const auto [upper, lower] = std::minmax({qRound(top.Y1), qRound(bottom.Y2)});
    return QRect(QPoint(left, upper), QPoint(right, lower));
}

TEST(WindowPaint, ShowsThePictureExactlyAndTheFrameInYellow)
{
    ShownWindow shown;
    const QImage screen = shown.screen();
    const QImage menu = fixturePicture(QStringLiteral("menu-cs"));
    const QRect frame(QPoint(40, 24), QPoint(240, 104));

    EXPECT_EQ(picturePixelsWrong(screen, menu, frame), 0);
    for (QPoint onFrame : {QPoint(140, 24), QPoint(40, 64), QPoint(240, 64), QPoint(140, 104), QPoint(40, 24),
                           QPoint(240, 104), QPoint(140, 25), QPoint(41, 64)})
        EXPECT_EQ(screen.pixelColor(onFrame), Yellow) << onFrame.x() << "," << onFrame.y();
    for (QPoint offFrame : {QPoint(140, 28), QPoint(140, 20), QPoint(44, 64), QPoint(36, 64)})
        EXPECT_EQ(screen.pixel(offFrame), menu.pixel(offFrame)) << offFrame.x() << "," << offFrame.y();
    // The strip below the picture is black away from the labels.
    EXPECT_EQ(screen.pixelColor(300, 488), QColor(Qt::black));
    EXPECT_EQ(screen.pixelColor(300, 495), QColor(Qt::black));
}

TEST(WindowPaint, LabelsDrawWhiteTextOnTheStrip)
{
    ShownWindow shown;
    const QImage screen = shown.screen();
    const QRect label2 = shown.label("Label2")->geometry();
    int bright = 0, coloured = 0;
    for (int y = label2.top(); y <= label2.bottom(); ++y)
        for (int x = label2.left(); x <= label2.right(); ++x) {
            const QColor c = screen.pixelColor(x, y);
            if (c.red() != c.green() || c.green() != c.blue())
                ++coloured; // white text on black gives only shades of grey
            else if (c.red() >= 160)
                ++bright;
        }
    EXPECT_GT(bright, 40);
    EXPECT_EQ(coloured, 0);
}

TEST(WindowPaint, FrameMovesOnScreenAndOnlyItsLinesAreRepainted)
{
    ShownWindow shown;
    shown.move(centre(patchOf(ColorQuit))); // the frame heads for the quit item
    shown.tick();
    const QRegion moved = shown.window.lastRepaint();
    EXPECT_FALSE(moved.isEmpty());
    EXPECT_FALSE(moved.contains(QPoint(140, 64)));  // inside the frame: untouched
    EXPECT_FALSE(moved.contains(QPoint(600, 400))); // far away: untouched
    EXPECT_TRUE(moved.contains(QPoint(140, 24)));   // where the top edge was

    shown.tick(9); // the move ends on the tenth tick
    const QRect quitFrame(QPoint(16, 160), QPoint(240, 304));
    EXPECT_EQ(frameRect(shown.game.controls()), quitFrame);
    const QImage screen = shown.screen();
    EXPECT_EQ(picturePixelsWrong(screen, fixturePicture(QStringLiteral("menu-cs")), quitFrame), 0);
    EXPECT_EQ(screen.pixelColor(100, 160), Yellow);
    EXPECT_EQ(screen.pixelColor(100, 304), Yellow);

    // The frame now stands still: ticks go on, nothing is repainted.
    for (int i = 0; i < 12; ++i) {
        shown.tick();
        EXPECT_TRUE(shown.window.lastRepaint().isEmpty()) << "tick " << i;
    }
}

TEST(WindowPaint, NewPictureIsRepaintedWhole)
{
    ShownWindow shown;
    ShownWindow::click(shown.label("Label1"), {1, 6}); // English menu
    EXPECT_TRUE(shown.window.lastRepaint().contains(QRect(0, 0, 640, 480)));
    EXPECT_EQ(picturePixelsWrong(shown.screen(), fixturePicture(QStringLiteral("menu-en")),
                                 frameRect(shown.game.controls())),
              0);

    // A hover that changes only the status line repaints no picture.
    shown.move({600, 200});
    EXPECT_TRUE(shown.window.lastRepaint().isEmpty());
}

TEST(WindowPaint, SweepBringsTheNextLevelOnScreen)
{
    ShownWindow shown;
    shown.press(centre(patchOf(ColorNewGame)));
    int ticks = 0;
    while (shown.game.controls().Picture.cacheKey() == shown.game.Form2().Picture3(0).cacheKey() && ticks < 40) {
        shown.tick();
        ++ticks;
    }
    ASSERT_LT(ticks, 40);
    const QImage screen = shown.screen();
    EXPECT_EQ(markOf(screen), 1) << "level 1 on screen";
    EXPECT_EQ(screen.pixelColor(centre(patchOf(ColorStart)).toPoint()), keyColour(ColorStart));
}

} // namespace
} // namespace zw::test
