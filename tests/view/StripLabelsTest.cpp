// The two labels of the strip with every text they can show at the same
// time: the status line's texts beside every deaths line, in both languages,
// up to a seven-digit count. They must never touch (a click meant for the
// music would switch the language), and each must stay whole inside the
// 16-pixel strip below the picture.

#include "ShownWindow.h"

#include "game/Numbers.h"
#include "game/Texts.h"
#include "view/ViewFonts.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace zw::test {
namespace {

constexpr int MinimumGap = 4;
constexpr int StripTop = 480;
constexpr int StripBottom = 495;

// Where a label's caption lies on the strip: the label itself (what a click
// hits) and the columns its letters light up.
struct Extent {
    QRect label;
    int inkLeft = -1;
    int inkRight = -1;
};

// The lit columns of the strip, found from the window as it draws itself.
Extent measure(ShownWindow& shown, view::ClickLabel* label)
{
    Extent extent;
    extent.label = label->geometry();
    const QImage strip = shown.window.grab(QRect(0, StripTop, 640, StripBottom - StripTop + 1))
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < strip.height(); ++y)
            if (qGray(strip.pixel(x, y)) > 40) {
                if (extent.inkLeft < 0)
                    extent.inkLeft = x;
                extent.inkRight = x;
                break;
            }
    return extent;
}

struct Caption {
    std::string what;
    QString text;
    int lang = 0; // the language it belongs to
};

// What the status line can show: the version line, the three item lines and
// the home-page line.
std::vector<Caption> statusTexts(const TextTable& texts)
{
    std::vector<Caption> captions;
    for (std::uint8_t lang : {0, 1})
        for (int item : {0, 1, 2, 3, 7})
            captions.push_back({"Texts(" + std::to_string(lang) + ", " + std::to_string(item) + ")",
                                texts(lang, item), lang});
    return captions;
}

// What the deaths line can show: its design text, the back-to-menu line and
// the line with counts of every length up to seven digits.
std::vector<Caption> deathsTexts(const TextTable& texts)
{
    std::vector<Caption> captions{{"design text", QStringLiteral("Počet zabití : 0")}};
    for (std::uint8_t lang : {0, 1}) {
        captions.push_back({"Texts(" + std::to_string(lang) + ", 4)", texts(lang, 4), lang});
        for (float count : {0.0f, 7.0f, 48.0f, 999.0f, 8888.0f, 44444.0f, 999999.0f, 1111111.0f, 4444444.0f,
                            8888888.0f, 9999999.0f}) {
            const QString line = texts(lang, 6) + num::toText(count);
            captions.push_back({line.toStdString(), line, lang});
        }
    }
    return captions;
}

TEST(StripLabels, TheLabelFontIsTheOneAskedFor)
{
    // A missing font would be replaced silently by some other family with
    // other widths, and every measure below would be of the wrong font.
    ShownWindow shown;
    for (const char* name : {"Label1", "Label2"}) {
        const QFontInfo loaded(shown.label(name)->font());
        EXPECT_EQ(loaded.family(), view::labelFontFamily()) << name;
        EXPECT_EQ(loaded.pixelSize(), view::labelFont().pixelSize()) << name;
    }
}

TEST(StripLabels, EveryStatusTextStandsApartFromEveryDeathsLine)
{
    ShownWindow shown;
    auto* label1 = shown.label("Label1");
    auto* label2 = shown.label("Label2");
    TextTable texts;
    texts.fill();

    // Each label is measured alone, with the other one empty.
    std::vector<std::pair<Caption, Extent>> status, deaths;
    label2->setCaption(QString());
    for (const Caption& caption : statusTexts(texts)) {
        label1->setCaption(caption.text);
        status.push_back({caption, measure(shown, label1)});
    }
    label1->setCaption(QString());
    for (const Caption& caption : deathsTexts(texts)) {
        label2->setCaption(caption.text);
        deaths.push_back({caption, measure(shown, label2)});
    }

    // The narrowest gap between two texts of one language, for the record.
    int smallestGap[2] = {640, 640};
    for (const auto& [left, l] : status) {
        ASSERT_GE(l.inkLeft, 0) << left.what << " shows nothing";
        for (const auto& [right, r] : deaths) {
            ASSERT_GE(r.inkLeft, 0) << right.what << " shows nothing";
            const int labelGap = r.label.left() - l.label.right() - 1;
            const int inkGap = r.inkLeft - l.inkRight - 1;
            EXPECT_GE(labelGap, MinimumGap) << left.what << " beside " << right.what;
            EXPECT_GE(inkGap, MinimumGap) << left.what << " beside " << right.what;
            if (left.lang == right.lang)
                smallestGap[left.lang] = std::min({smallestGap[left.lang], labelGap, inkGap});
        }
    }
    RecordProperty("smallest_gap_px_czech", smallestGap[0]);
    RecordProperty("smallest_gap_px_english", smallestGap[1]);
}

TEST(StripLabels, EveryTextIsWholeInsideTheStrip)
{
    ShownWindow shown;
    TextTable texts;
    texts.fill();
    std::vector<Caption> all = statusTexts(texts);
    for (Caption& caption : deathsTexts(texts))
        all.push_back(std::move(caption));

    for (const char* name : {"Label1", "Label2"}) {
        const QFontMetrics metrics(shown.label(name)->font());
        const int baseline = StripTop + view::ClickLabel::baseline(metrics);
        for (const Caption& caption : all) {
            // Every letter from the font itself, none borrowed from another.
            for (const uint letter : caption.text.toUcs4())
                EXPECT_TRUE(metrics.inFontUcs4(letter))
                    << name << ": " << caption.what << " lacks U+" << std::hex << letter;
            // Accents above and tails below inside the strip.
            const QRect ink = metrics.boundingRect(caption.text).translated(0, baseline);
            EXPECT_GE(ink.top(), StripTop) << name << ": " << caption.what;
            EXPECT_LE(ink.bottom(), StripBottom) << name << ": " << caption.what;
            EXPECT_LE(ink.bottom(), StripTop + view::ClickLabel::LineHeight - 1) << name << ": " << caption.what;
        }
    }
}

// The strip and the code box keep their own fonts whatever the widgets
// around them use: under a bold title bar with a large font (the game's own
// frame on Wayland) the labels stay regular and 10 pixels, the code box 23.
TEST(StripLabels, OwnFontsWhateverTheParentsFont)
{
    QWidget parent;
    QFont loud(QStringLiteral("DejaVu Serif"));
    loud.setBold(true);
    loud.setItalic(true);
    loud.setPointSize(20);
    parent.setFont(loud);
    QWidget label(&parent);
    label.setFont(view::labelFont());
    EXPECT_FALSE(label.font().bold());
    EXPECT_FALSE(label.font().italic());
    EXPECT_EQ(label.font().pixelSize(), 10);
    EXPECT_EQ(label.font().family(), view::labelFontFamily());
    QWidget box(&parent);
    box.setFont(view::codeBoxFont());
    EXPECT_TRUE(box.font().bold());
    EXPECT_FALSE(box.font().italic());
    EXPECT_EQ(box.font().pixelSize(), 23);
}

} // namespace
} // namespace zw::test
