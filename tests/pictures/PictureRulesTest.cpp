// Each case breaks one clean fixture in one way and expects the checker to
// name that rule at that picture and place.

#include "Fixtures.h"

#include "check/Rules.h"
#include "base/GamePalette.h"

#include <gtest/gtest.h>

#include <functional>

namespace zw::check {
namespace {

using namespace zw::fixtures;

const QPoint nowhere(-1, -1);

// A picture to break: which file it stands for and how it is made.
struct Broken {
    const char* name;      // test name
    const char* file;      // the picture it stands for
    std::function<QImage()> make; // the broken picture as it would be decoded from its file
    const char* rule;      // the rule expected to break
    QRect where;           // the first offending pixel lies in here; null: no place
    const char* detail = ""; // a piece of the message that must be there
};

std::ostream& operator<<(std::ostream& os, const Broken& b) { return os << b.name; }

// Helpers that build a broken picture from a clean canvas.
std::function<QImage()> levelWith(int n, std::function<void(QImage&)> breakIt)
{
    return [=] {
        QImage img = level(n);
        breakIt(img);
        return encode(img);
    };
}
std::function<QImage()> menuWith(std::function<void(QImage&)> breakIt)
{
    return [=] {
        QImage img = menu(false);
        breakIt(img);
        return encode(img);
    };
}
std::function<QImage()> closingWith(std::function<void(QImage&)> breakIt)
{
    return [=] {
        QImage img = closing();
        breakIt(img);
        return encode(img);
    };
}
std::function<QImage()> pointerWith(bool run, std::function<void(QImage&)> breakIt)
{
    return [=] {
        QImage img = pointer(run);
        breakIt(img);
        return img;
    };
}
QRect at(int x, int y) { return QRect(x, y, 1, 1); }

const Broken brokenCases[] = {
    // Format
    {"WrongSize", "level-01.png", [] { return encode(level(1)).copy(0, 0, 639, 480); }, "size", {}, "found 639 x 480"},
    {"NotPalette", "level-01.png", [] { return level(1); }, "palette", {}, "not an 8-bit palette"},
    {"WrongPaletteEntry", "level-01.png",
     [] {
         QList<QRgb> palette = zw::gamePalette();
         palette[20] = qRgb(1, 2, 3); // one of the spare blacks
         return encode(level(1), palette);
     },
     "palette", {}, "entry 20 is #010203, expected #000000"},
    {"ShortPalette", "level-01.png", [] { return encode(level(1), zw::gamePalette().mid(0, 250)); }, "palette", {},
     "expected 256 entries, found 250"},
    {"TransparentWhite", "level-01.png",
     [] {
         QList<QRgb> palette = zw::gamePalette();
         palette[15] = qRgba(255, 255, 255, 0);
         return encode(level(1), palette);
     },
     "opaque", at(0, 0)},
    // Key colours and inert pixels
    {"MenuWithGoalPixel", "menu-cs.png", menuWith([](QImage& i) { i.setPixel(600, 100, green); }), "key colours",
     at(600, 100), "green (goal)"},
    {"MenuWithoutNewGame", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(48, 112, 230, 155), black); }),
     "key colours", {}, "no grey (new game)"},
    {"LevelWithQuitGrey", "level-04.png", levelWith(4, [](QImage& i) { i.setPixel(600, 60, darkGrey); }),
     "key colours", at(600, 60)},
    {"AntiAliasedDiscEdge", "level-05.png", levelWith(5, [](QImage& i) { i.setPixel(23, 218, qRgb(255, 102, 102)); }),
     "inert pixels", at(23, 218), "found 1"},
    {"Level7OneSpeckShort", "level-07.png", levelWith(7, [](QImage& i) { i.setPixel(176, 134, white); }),
     "inert pixels", {}, "expected 62 pixels outside the colour key, found 61"},
    {"Level16SpeckAwayFromPath", "level-16.png",
     levelWith(16,
               [](QImage& i) {
                   i.setPixel(38, 164, white);
                   i.setPixel(600, 300, inertDark);
               }),
     "inert pixels", at(600, 300), "not a dark speck on the edge of the path"},
    // Discs
    {"DiscMissingPixel", "level-05.png", levelWith(5, [](QImage& i) { i.setPixel(35, 206, black); }), "start disc",
     at(35, 206), "expected 441 red pixels in (23,206)-(47,230), found 440 (missing (35,206))"},
    {"DiscMovedOnePixel", "level-05.png",
     levelWith(5,
               [](QImage& i) {
                   disc(i, {35, 218}, 12, black);
                   disc(i, {36, 218}, 12, red);
               }),
     "start disc", at(35, 206), "found"},
    {"DiscMovedLeavesRedOutside", "level-05.png",
     levelWith(5,
               [](QImage& i) {
                   disc(i, {35, 218}, 12, black);
                   disc(i, {36, 218}, 12, red);
               }),
     "start disc", at(36, 206), "red outside the disc"},
    {"SmallGoalWrongRadius", "level-13.png", levelWith(13, [](QImage& i) { disc(i, {153, 355}, 9, green); }),
     "goal disc", at(153, 346), "green outside the disc"},
    {"Level10GoalSingleDisc", "level-10.png",
     levelWith(10,
               [](QImage& i) {
                   fill(i, box(265, 292, 289, 317), black);
                   disc(i, {277, 304}, 12, green);
               }),
     "goal disc", at(265, 305), "expected 466 green pixels"},
    {"Level8SecondGoalMissing", "level-08.png", levelWith(8, [](QImage& i) { disc(i, {511, 363}, 12, black); }),
     "goal disc", at(511, 351), "in (499,351)-(523,375)"},
    {"StrayGreenOnLevel", "level-02.png", levelWith(2, [](QImage& i) { i.setPixel(300, 300, green); }), "goal disc",
     at(300, 300), "green outside the disc"},
    // Path
    {"PathDoesNotConnect", "level-03.png", levelWith(3, [](QImage& i) { fill(i, box(40, 250, 90, 253), white); }),
     "path", at(64, 361), "not connected"},
    {"OrangeTouchingPath", "level-17.png",
     levelWith(17,
               [](QImage& i) {
                   fill(i, box(107, 200, 200, 210), black); // a branch into the eyes
                   i.setPixel(201, 205, orange);            // a pupil at its end
               }),
     "path", at(201, 205), "touches orange (link)"},
    {"MenuColourTouchingPath", "level-12.png", levelWith(12, [](QImage& i) { i.setPixel(300, 366, darkRed); }),
     "path", at(300, 366), "touches dark red (menu)"},
    {"NarrowPassage", "level-09.png",
     levelWith(9,
               [](QImage& i) {
                   // A 3-pixel gap in a wall across the corridor.
                   fill(i, box(400, 370, 403, 400), white);
                   fill(i, box(400, 384, 403, 386), black);
               }),
     "playability", box(399, 383, 404, 387), "narrowest passage on the widest path is 3 px (< 4)"},
    // White specks: a little island of wall in the path
    {"PostInTheCorridor", "level-09.png", levelWith(9, [](QImage& i) { fill(i, box(400, 383, 403, 386), white); }),
     "white speck", at(400, 383), "a piece of wall of 16 px (< 64) stands alone in (400,383)-(403,386)"},
    {"LonePixelInThePath", "level-11.png", levelWith(11, [](QImage& i) { i.setPixel(60, 457, white); }),
     "white speck", at(60, 457), "1 px (< 64)"},
    {"PieceJustUnderTheLimit", "level-18.png", levelWith(18, [](QImage& i) { fill(i, box(300, 165, 306, 173), white); }),
     "white speck", at(300, 165), "63 px (< 64)"},
    // Two posts that meet only at a corner are two pieces to the pointer.
    {"PostsMeetingAtACorner", "level-18.png",
     levelWith(18,
               [](QImage& i) {
                   fill(i, box(250, 160, 253, 163), white);
                   fill(i, box(254, 164, 257, 167), white);
               }),
     "white speck", at(254, 164), "16 px (< 64) stands alone in (254,164)-(257,167)"},
    // Top strip, link colour and badge
    {"NameTooShort", "level-06.png", levelWith(6, [](QImage& i) { fill(i, box(100, 2, 175, 13), white); }),
     "top strip", at(10, 3), "the maker's name spans"},
    {"HomePageMissing", "menu-en.png",
     [] {
         QImage i = menu(true);
         fill(i, box(452, 2, 637, 14), black);
         return encode(i);
     },
     "top strip", at(452, 2), "no orange letters of the home page"},
    {"StripOnWrongBackground", "level-06.png", levelWith(6, [](QImage& i) { i.setPixel(170, 13, black); }),
     "top strip", at(170, 13), "other than orange on white"},
    {"OrangeOutsideStrip", "level-02.png", levelWith(2, [](QImage& i) { i.setPixel(300, 460, orange); }),
     "link colour", at(300, 460)},
    {"PupilOutsideItsArea", "level-17.png", levelWith(17, [](QImage& i) { i.setPixel(500, 420, orange); }),
     "link colour", at(500, 420)},
    {"BadgeWithoutStrokes", "level-11.png", levelWith(11, [](QImage& i) { fill(i, box(252, 2, 390, 48), white); }),
     "badge", at(252, 2), "no dark red strokes"},
    {"DarkRedOutsideBadge", "level-11.png", levelWith(11, [](QImage& i) { i.setPixel(400, 2, darkRed); }), "badge",
     at(400, 2), "outside the badge"},
    {"BadgeOnBlack", "level-11.png", levelWith(11, [](QImage& i) { i.setPixel(300, 40, black); }), "badge",
     at(300, 40), "other than dark red on white"},
    // Menus
    {"ContinueBoxOnePixelWide", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(231, 54, 231, 97), lightGrey); }),
     "continue item", at(48, 54), "light grey spans (48,54)-(231,97), expected (48,54)-(230,97)"},
    {"QuitBoxOutsideFrame", "menu-cs.png", menuWith([](QImage& i) { i.setPixel(10, 250, darkGrey); }), "quit item",
     at(10, 170), "outside its highlight frame"},
    {"ItemWithoutLetters", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(48, 112, 230, 155), grey); }),
     "new game item", at(48, 112), "no black letters"},
    {"ItemWithWhiteLetter", "menu-cs.png", menuWith([](QImage& i) { i.setPixel(100, 60, white); }), "continue item",
     at(100, 60), "other than light grey and black"},
    {"RedOutsideLogo", "menu-cs.png", menuWith([](QImage& i) { i.setPixel(600, 440, red); }), "logo", at(600, 440),
     "red outside the logo box"},
    {"ArcTooShort", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(360, 388, 400, 388), black); }), "logo",
     at(360, 275), "expected two red arcs of 41 x 114"},
    {"WhiteTitleInFrame", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(250, 120, 260, 130), white); }), "logo",
     at(250, 120), "white outside the logo box lies in a highlight frame"},
    // Closing picture
    {"ClosingWithoutDisc", "closing.png", closingWith([](QImage& i) { fill(i, box(423, 152, 615, 342), white); }),
     "closing art", at(423, 152), "dark red covers 0% of the disc"},
    {"ClosingRedOutsideSign", "closing.png", closingWith([](QImage& i) { i.setPixel(50, 450, red); }), "start sign",
     at(50, 450), "red outside the box"},
    {"ClosingSignReversed", "closing.png",
     closingWith(
         [](QImage& i) {
             fill(i, box(100, 93, 225, 158), orange);
             fill(i, box(226, 93, 325, 158), red);
         }),
     "start sign", at(226, 93), "does not stand left"},
    {"ClosingWithGoal", "closing.png", closingWith([](QImage& i) { i.setPixel(50, 450, green); }), "key colours",
     at(50, 450), "green (goal)"},
    {"ClosingWithoutText", "closing.png", closingWith([](QImage& i) { fill(i, box(40, 200, 160, 440), white); }),
     "text", {}, "no black letters"},
    // Pointers
    {"PointerFilledMiddle", "pointer-run.png", pointerWith(true, [](QImage& i) { fill(i, box(15, 15, 16, 16), red); }),
     "open middle", at(16, 16), "not transparent"},
    {"PointerBandShort", "pointer-idle.png", pointerWith(false, [](QImage& i) { i.setPixel(13, 12, qRgba(0, 0, 0, 0)); }),
     "band", {}, "expected 44 green pixels, found 43"},
    {"PointerRingOpen", "pointer-idle.png",
     pointerWith(false,
                 [](QImage& i) {
                     for (int x = 16; x <= 21; ++x)
                         i.setPixel(x, 15, qRgba(0, 0, 0, 0));
                 }),
     "open middle", box(0, 0, 31, 31), "does not close the middle"},
    {"PointerHalfTransparent", "pointer-run.png", pointerWith(true, [](QImage& i) { i.setPixel(12, 14, qRgba(255, 0, 0, 128)); }),
     "pointer colours", at(12, 14)},
    {"PointerPixelOutsideRing", "pointer-run.png", pointerWith(true, [](QImage& i) { i.setPixel(3, 3, qRgb(0, 0, 0)); }),
     "ring box", at(3, 3)},
    {"PointerWrongBand", "pointer-run.png", [] { return pointer(false); }, "band", {}, "expected 44 red pixels, found 0"},
    {"PointerWithoutAlpha", "pointer-run.png", [] { return pointer(true).convertToFormat(QImage::Format_RGB32); },
     "transparency", {}},
};

class BrokenPicture : public ::testing::TestWithParam<Broken> {};

TEST_P(BrokenPicture, NamesTheRuleAtThePlace)
{
    const Broken& c = GetParam();
    const std::optional<PictureInfo> info = pictureByFile(QString::fromLatin1(c.file));
    ASSERT_TRUE(info);
    const std::vector<Finding> findings = checkPicture(*info, c.make());

    std::string all;
    bool hit = false;
    for (const Finding& f : findings) {
        all += f.line().toStdString() + "\n";
        EXPECT_EQ(f.picture, QString::fromLatin1(c.file));
        const bool placed = c.where.isNull() ? true : c.where.contains(f.at);
        hit |= f.rule == QLatin1String(c.rule) && placed && f.detail.contains(QLatin1String(c.detail));
    }
    EXPECT_TRUE(hit) << "expected rule \"" << c.rule << "\" with \"" << c.detail << "\" in findings:\n" << all;
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenPicture, ::testing::ValuesIn(brokenCases),
                         [](const ::testing::TestParamInfo<Broken>& i) { return std::string(i.param.name); });

// The clean fixtures pass, so each broken case fails for its own fault only.
TEST(CleanPicture, EveryFixturePasses)
{
    for (const PictureInfo& info : allPictures()) {
        QImage img;
        switch (info.kind) {
        case PictureKind::Level: img = encode(level(info.level)); break;
        case PictureKind::Menu: img = encode(menu(info.english)); break;
        case PictureKind::Closing: img = encode(closing()); break;
        case PictureKind::Pointer: img = pointer(info.run); break;
        }
        for (const Finding& f : checkPicture(info, img))
            ADD_FAILURE() << f.line().toStdString();
    }
}

// Things the rules allow on purpose, each on an otherwise clean picture.
struct Allowed {
    const char* name;
    const char* file;
    std::function<QImage()> make;
};

std::ostream& operator<<(std::ostream& os, const Allowed& a) { return os << a.name; }

const Allowed allowedCases[] = {
    {"FurHairTwoSpecksLong", "level-07.png",
     levelWith(7,
               [](QImage& i) {
                   i.setPixel(176, 134, white); // one speck fewer along the edge ...
                   i.setPixel(298, 133, inertDark); // ... and one on top of another
               })},
    {"PupilInWhiteEye", "level-17.png",
     levelWith(17,
               [](QImage& i) {
                   disc(i, {300, 260}, 6, black); // black ring ...
                   disc(i, {300, 260}, 4, orange); // ... round an orange pupil, white all around
               })},
    {"WallPieceAtTheLimit", "level-18.png", levelWith(18, [](QImage& i) { fill(i, box(300, 165, 307, 172), white); })},
    {"HoleInABadgeStroke", "level-11.png",
     levelWith(11,
               [](QImage& i) {
                   fill(i, box(300, 20, 306, 26), darkRed);
                   i.setPixel(303, 23, white); // like the hole of a letter
               })},
    {"WhiteTitleBesideFrames", "menu-cs.png", menuWith([](QImage& i) { fill(i, box(300, 40, 620, 200), white); })},
    {"ClosingArtBeyondDisc", "closing.png", closingWith([](QImage& i) { fill(i, box(20, 450, 620, 470), darkRed); })},
};

class AllowedPicture : public ::testing::TestWithParam<Allowed> {};

TEST_P(AllowedPicture, HasNoFindings)
{
    const Allowed& c = GetParam();
    for (const Finding& f : checkPicture(*pictureByFile(QString::fromLatin1(c.file)), c.make()))
        ADD_FAILURE() << f.line().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, AllowedPicture, ::testing::ValuesIn(allowedCases),
                         [](const ::testing::TestParamInfo<Allowed>& i) { return std::string(i.param.name); });

TEST(FindingLine, ReadsPictureRuleAndDetail)
{
    const std::vector<Finding> findings = checkPicture(*pictureByFile(QStringLiteral("level-05.png")), [] {
        QImage i = level(5);
        i.setPixel(35, 206, black);
        return encode(i);
    }());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line().toStdString(),
              "level-05.png: start disc: expected 441 red pixels in (23,206)-(47,230), found 440 (missing (35,206))");
}

TEST(DiscPixels, MatchTheBoxes)
{
    const struct {
        QRect box;
        std::size_t pixels;
        QPoint centre;
    } cases[] = {
        {box(23, 206, 47, 230), 441, {35, 218}},
        {box(397, 142, 413, 158), 197, {405, 150}},
        {box(265, 292, 289, 317), 466, {277, 304}}, // two radius-12 discs one row apart
    };
    for (const auto& c : cases) {
        const std::vector<QPoint> pixels = discPixels(c.box);
        EXPECT_EQ(pixels.size(), c.pixels) << boxText(c.box).toStdString();
        EXPECT_EQ(discCentre(c.box), c.centre);
        QRect bounds;
        for (const QPoint& p : pixels)
            bounds = bounds.united(QRect(p, QSize(1, 1)));
        EXPECT_EQ(bounds, c.box);
    }
}

} // namespace
} // namespace zw::check
