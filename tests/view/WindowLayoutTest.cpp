// The window as the player first sees it: title, fixed size, the two labels
// on the strip and where they stay when their texts change, the hidden code
// box.

#include "ShownWindow.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace zw::test {
namespace {

TEST(WindowLayout, TitleAndFixedClientSize)
{
    ShownWindow shown;
    EXPECT_EQ(shown.window.windowTitle(), QStringLiteral("Zig-walk"));
    EXPECT_EQ(shown.window.size(), QSize(640, 496));
    EXPECT_EQ(shown.window.minimumSize(), QSize(640, 496));
    EXPECT_EQ(shown.window.maximumSize(), QSize(640, 496));
    EXPECT_FALSE(shown.window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(shown.window.hasMouseTracking());
}

TEST(WindowLayout, StartsWithTheDesignTextsAndTheCodeBoxHidden)
{
    ShownWindow shown;
    auto* label1 = shown.label("Label1");
    auto* label2 = shown.label("Label2");
    ASSERT_TRUE(label1 && label2);

    EXPECT_EQ(label1->caption(), QString());
    EXPECT_EQ(label1->geometry(), QRect(8, 480, 3, 13));
    EXPECT_EQ(label1->toolTip(), QStringLiteral("Jazyk / Language"));
    EXPECT_EQ(label2->caption(), QStringLiteral("Počet zabití : 0"));
    EXPECT_EQ(label2->x() + label2->width(), 633);
    EXPECT_EQ(label2->y(), 480);
    EXPECT_EQ(label2->height(), 13);

    QWidget* frame1 = shown.child("Frame1");
    ASSERT_TRUE(frame1);
    EXPECT_FALSE(frame1->isVisible());
    EXPECT_EQ(frame1->geometry(), QRect(48, 224, 185, 49));
    auto* text1 = shown.window.findChild<QLineEdit*>("Text1");
    ASSERT_TRUE(text1);
    EXPECT_EQ(text1->geometry(), QRect(0, 8, 185, 33));
    EXPECT_EQ(text1->text(), QStringLiteral("zadej heslo..."));
    EXPECT_EQ(text1->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(shown.child("Command1")->geometry(), QRect(-32, -40, 41, 37));
}

// Each step changes the captions through the game; the labels keep their
// anchored edges and fit their new texts.
TEST(WindowLayout, LabelsKeepTheirEdgesAsCaptionsChange)
{
    ShownWindow shown;
    auto* label1 = shown.label("Label1");
    auto* label2 = shown.label("Label2");

    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"hover over black: version line", [&] { shown.move({600, 200}); }},
        {"language switch: English lines", [&] { ShownWindow::click(label1, {2, 6}); }},
        {"hover over the quit item", [&] { shown.move(centre(patchOf(ColorQuit))); }},
        {"switch back to Czech", [&] { ShownWindow::click(label1, {2, 6}); }},
    };
    const int designWidth = label2->width();
    for (const auto& [what, step] : steps) {
        SCOPED_TRACE(what);
        step();
        EXPECT_EQ(label1->caption(), shown.game.controls().Label1Caption);
        EXPECT_EQ(label2->caption(), shown.game.controls().Label2Caption);
        EXPECT_EQ(label1->x(), 8);
        EXPECT_EQ(label2->x() + label2->width(), 633);
        for (auto* label : {label1, label2}) {
            EXPECT_EQ(label->y(), 480);
            EXPECT_EQ(label->height(), 13);
            EXPECT_GT(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->caption()));
        }
    }
    // "Hudba     Počet zabití : 0" is wider than the design text it replaced:
    // the label grew to the left.
    EXPECT_GT(label2->width(), designWidth);
}

TEST(WindowLayout, LabelFontShowsCzechLetters)
{
    ShownWindow shown;
    const QFontMetrics metrics(shown.label("Label2")->font());
    for (QChar letter : QStringLiteral("čřěůžšýáíéťďň"))
        EXPECT_TRUE(metrics.inFont(letter)) << QString(letter).toStdString();
}

} // namespace
} // namespace zw::test
