#include "CodeBoxSteps.h"

#include "MazePath.h"

namespace zw::e2e {

void CodeBoxTest::startAtMenu(RunningGame& game)
{
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    ASSERT_TRUE(game.process().waitForStarted(StepTimeoutMs));
    ASSERT_TRUE(findWindow()) << "no 640x496 window named Zig-walk";
    ASSERT_TRUE(showsPicture(menu)) << "menu not on screen; differences: " << differences(client(), menu);
}

QPoint CodeBoxTest::spotOf(const QImage& picture, Colour colour)
{
    const auto spot = solidSpot(picture, rgbOf(colour));
    EXPECT_TRUE(spot) << "no colour " << std::hex << colour << " on the picture";
    return spot.value_or(QPoint());
}

QPoint CodeBoxTest::homePageSpot()
{
    return spotOf(menu.copy(HomePageText), ColorLink) + HomePageText.topLeft();
}

void CodeBoxTest::openCodeBox(const GameHome& home)
{
    const qsizetype openedBefore = home.opened().size();
    pressAt(spotOf(menu, ColorStart));
    pressAt(homePageSpot());
    ASSERT_TRUE(waitUntil([&] { return codeBoxShown(); }, StepTimeoutMs)) << "the code box did not appear";
    ASSERT_TRUE(waitUntil([&] { return home.opened().size() == openedBefore + 1; }, StepTimeoutMs))
        << "the page did not open";
    x.xdotool({QStringLiteral("windowfocus"), windowId});
}

void CodeBoxTest::typeCode(const QString& code)
{
    x.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), code});
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
}

void CodeBoxTest::settle(const QImage& shownPicture)
{
    const QImage before = client().copy(StatusLine);
    x.moveTo(onScreen(spotOf(shownPicture, ColorInfo)));
    ASSERT_TRUE(waitUntil([&] { return client().copy(StatusLine) != before; }, StepTimeoutMs))
        << "the status line did not change over black";
}

bool CodeBoxTest::codeBoxShown() const
{
    // The panel's rim above and below the text field.
    const QImage now = client();
    for (QPoint p : {CodeBoxArea.topLeft(), CodeBoxArea.topRight(), CodeBoxArea.bottomLeft(),
                     CodeBoxArea.bottomRight(), QPoint(CodeBoxArea.center().x(), CodeBoxArea.top() + 3),
                     QPoint(CodeBoxArea.center().x(), CodeBoxArea.bottom() - 3)})
        if (now.pixel(p) != PanelGrey)
            return false;
    return true;
}

} // namespace zw::e2e
