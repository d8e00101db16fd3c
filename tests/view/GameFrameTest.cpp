// The game's own title bar for Wayland compositors that frame no windows:
// when it is used, and that under it the game window is whole and closes
// the game as ever.

#include "ShownWindow.h"

#include "platform/CompositorFrames.h"
#include "view/GameFrame.h"

#include <gtest/gtest.h>

namespace zw::test {
namespace {

TEST(GameFrame, FramesComeFromTheCompositorOnlyWithADecorationProtocol)
{
    const QStringList westonLike{QStringLiteral("wl_compositor"), QStringLiteral("xdg_wm_base"),
                                 QStringLiteral("wl_seat")};
    EXPECT_FALSE(platform::framesFromCompositor({}));
    EXPECT_FALSE(platform::framesFromCompositor(westonLike));
    EXPECT_TRUE(platform::framesFromCompositor(westonLike + QStringList{QStringLiteral("zxdg_decoration_manager_v1")}));
    EXPECT_TRUE(platform::framesFromCompositor(
        westonLike + QStringList{QStringLiteral("org_kde_kwin_server_decoration_manager")}));
}

TEST(GameFrame, UsedOnlyOnWaylandWhereNothingElseFramesTheWindow)
{
    struct Case {
        const char* platform;
        bool decorationsDisabled;
        bool compositorFrames;
        bool ownFrame;
    };
    const Case cases[] = {
        {"xcb", false, false, false},        // the X window manager frames it
        {"offscreen", false, false, false},
        {"wayland", false, true, false},     // the compositor frames it (KDE, wlroots)
        {"wayland", false, false, true},     // GNOME, weston: Qt's frame would take the edges
        {"wayland-egl", false, false, true},
        {"wayland", true, false, false},     // the player turned frames off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform);
        EXPECT_EQ(view::needsGameFrame(QString::fromLatin1(c.platform), c.decorationsDisabled, c.compositorFrames),
                  c.ownFrame);
    }
}

TEST(GameFrame, HoldsTheWholeGameWindowBelowItsTitleBar)
{
    ShownWindow shown;
    view::GameFrame frame(shown.window);
    frame.show();
    EXPECT_EQ(frame.size(), QSize(640, 496 + view::GameFrame::TitleHeight));
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize()); // fixed: no edge resizes it
    EXPECT_EQ(shown.window.geometry(), QRect(0, view::GameFrame::TitleHeight, 640, 496));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Zig-walk"));
    EXPECT_FALSE(frame.windowIcon().isNull());
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);

    // The picture's corners are shown right below the title bar, nothing
    // of the frame over them.
    const QImage shot = frame.grab().toImage();
    const QImage& picture = shown.game.controls().Picture;
    for (QPoint p : {QPoint(0, 0), QPoint(639, 0), QPoint(0, 479), QPoint(639, 479)})
        EXPECT_EQ(shot.pixel(p + QPoint(0, view::GameFrame::TitleHeight)) & 0xFFFFFF, picture.pixel(p) & 0xFFFFFF)
            << p.x() << "," << p.y();
}

TEST(GameFrame, ItsCloseButtonUnloadsTheGame)
{
    ShownWindow shown;
    shown.platform.addMusic();
    view::GameFrame frame(shown.window);
    frame.show();
    ShownWindow::click(&frame, QPointF(640 - 20, view::GameFrame::TitleHeight / 2.0));
    EXPECT_EQ(shown.platform.mci, QStringList{QStringLiteral("Stop music.mid")});
    EXPECT_EQ(shown.platform.ends, 1);
    EXPECT_FALSE(frame.isVisible());
}

TEST(GameFrame, GoesAwayWithTheGame)
{
    ShownWindow shown;
    view::GameFrame frame(shown.window);
    frame.show();
    // The quit item ends the game; with a stand-in platform the process
    // lives on, and the window closes, its frame with it.
    shown.press(centre(patchOf(ColorQuit)));
    EXPECT_EQ(shown.platform.ends, 1);
    EXPECT_FALSE(frame.isVisible());
}

} // namespace
} // namespace zw::test
