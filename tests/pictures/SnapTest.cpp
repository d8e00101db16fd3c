// The snap keeps what was painted. Each built-in level, painted soft the way
// paint programs paint, snaps back to a level the game plays as drawn: one
// start, every goal, no coloured pixel away from where that colour was, and
// hardly a pixel different from the clean level.

#include "PlayerFixtures.h"

#include "base/ColorKey.h"
#include "check/KeyColour.h"
#include "check/PlayerLevels.h"
#include "check/Snap.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace zw::check {
namespace {

using namespace zw::fixtures;

// A built-in level, snapped where it carries inert specks so that the
// original is in the key throughout.
QImage builtInLevel(int level)
{
    const QImage read(QStringLiteral(ZIGWALK_PICTURES_DIR "/") + playerLevelFile(level));
    const QImage rgb = read.convertToFormat(QImage::Format_RGB32);
    return KeyMap(rgb).count(Key::Inert) == 0 ? rgb : snapToKeyColours(rgb).image;
}

// Drawn three times larger with hard edges, a third of a pixel to the right
// of the picture's grid (a painting's edges rarely fall on it), and scaled
// down smoothly: every upright edge becomes a blend of thirds.
QImage drawnLargerAndScaledDown(const QImage& clean)
{
    QImage large(clean.width() * 3, clean.height() * 3, QImage::Format_RGB32);
    for (int y = 0; y < large.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(large.scanLine(y));
        const QRgb* from = reinterpret_cast<const QRgb*>(clean.constScanLine(y / 3));
        for (int x = 0; x < large.width(); ++x)
            line[x] = from[std::max(0, x - 1) / 3];
    }
    return large.scaled(clean.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Blurred with a Gaussian of sigma 0.7 px, as a soft brush leaves edges.
QImage blurred(const QImage& clean)
{
    constexpr int Reach = 3;
    double weight[2 * Reach + 1], sum = 0;
    for (int i = -Reach; i <= Reach; ++i)
        sum += weight[i + Reach] = std::exp(-i * i / (2 * 0.7 * 0.7));
    for (double& w : weight)
        w /= sum;
    const int w = clean.width(), h = clean.height();
    std::vector<double> across(std::size_t(w) * h * 3, 0.0);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(clean.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            double* to = &across[(std::size_t(y) * w + x) * 3];
            for (int i = -Reach; i <= Reach; ++i) {
                const QRgb c = line[std::clamp(x + i, 0, w - 1)];
                to[0] += weight[i + Reach] * qRed(c);
                to[1] += weight[i + Reach] * qGreen(c);
                to[2] += weight[i + Reach] * qBlue(c);
            }
        }
    }
    QImage out(clean.size(), QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            double c[3] = {0, 0, 0};
            for (int i = -Reach; i <= Reach; ++i) {
                const double* from = &across[(std::size_t(std::clamp(y + i, 0, h - 1)) * w + x) * 3];
                for (int k = 0; k < 3; ++k)
                    c[k] += weight[i + Reach] * from[k];
            }
            line[x] = qRgb(int(std::lround(c[0])), int(std::lround(c[1])), int(std::lround(c[2])));
        }
    }
    return out;
}

// Saved as a JPEG of quality 85, as a player may save a painting: noise
// everywhere, and colours that run into each other at every edge.
QImage savedAsJpeg(const QImage& clean)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(clean.save(&buffer, "JPEG", 85));
    return QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
}

bool acting(Key k) { return k != Key::Info && k != Key::Wall && k != Key::Inert; }

// Pixels of a colour that acts where the clean picture has no pixel of that
// colour within 2 px.
int strayPixels(const KeyMap& clean, const KeyMap& snapped)
{
    int stray = 0;
    for (int y = 0; y < snapped.height(); ++y)
        for (int x = 0; x < snapped.width(); ++x) {
            const Key k = snapped.at(x, y);
            if (!acting(k))
                continue;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx)
                    near = dx * dx + dy * dy <= 4 && clean.contains(x + dx, y + dy) && clean.at(x + dx, y + dy) == k;
            stray += !near;
        }
    return stray;
}

int differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

class SoftLevel : public ::testing::TestWithParam<int> {};

TEST_P(SoftLevel, SnapsBackToTheLevelAsDrawn)
{
    const int level = GetParam();
    const QImage clean = builtInLevel(level);
    ASSERT_FALSE(clean.isNull());
    EXPECT_EQ(snapToKeyColours(clean).changed, 0) << "a clean level stays as it is";
    const KeyMap cleanKeys(clean);
    const auto goals = cleanKeys.piecesOf(Key::Goal, Touch::SidesAndCorners).size();

    // A JPEG's colours run into each other over the 2 x 2 blocks its colour
    // is kept in: more edge pixels go either way.
    const struct {
        const char* name;
        std::function<QImage(const QImage&)> soften;
        int differingAtMost; // of the clean level's pixels
    } ways[] = {{"drawn larger, scaled down", drawnLargerAndScaledDown, 307200 / 500},
                {"blurred", blurred, 307200 / 500},
                {"a JPEG", savedAsJpeg, 307200 / 250}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        const Snapped snapped = snapToKeyColours(way.soften(clean));
        const KeyMap keys(snapped.image);
        for (const Finding& f : checkPlayerMaze(playerLevelFile(level), snapped.image, Language::English))
            ADD_FAILURE() << f.line().toStdString();
        EXPECT_EQ(keys.piecesOf(Key::Start, Touch::SidesAndCorners).size(), 1u);
        EXPECT_EQ(keys.piecesOf(Key::Goal, Touch::SidesAndCorners).size(), goals);
        EXPECT_EQ(strayPixels(cleanKeys, keys), 0);
        const int differ = differing(clean, snapped.image);
        EXPECT_LE(differ, way.differingAtMost);
        std::printf("level %02d, %s: %d pixels differ from the clean level\n", level, way.name, differ);
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, SoftLevel, ::testing::Range(1, 21), [](const auto& info) {
    return QStringLiteral("Level%1").arg(info.param, 2, 10, QLatin1Char('0')).toStdString();
});

// Anti-aliased orange text on white: its fringe is orange mixed with white,
// never a start.
TEST(SnapTest, AntiAliasedOrangeTextStaysOrangeAndTheLevelStaysValid)
{
    QImage painted = builtInLevel(1);
    QPainter p(&painted);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(QColor(255, 153, 51));
    p.drawText(QPoint(200, 470), QStringLiteral("my home page"));
    p.end();
    ASSERT_GT(KeyMap(painted).count(Key::Inert), 100) << "the text has soft edges";

    const Snapped snapped = snapToKeyColours(painted);
    for (const Finding& f : checkPlayerMaze(playerLevelFile(1), snapped.image, Language::English))
        ADD_FAILURE() << f.line().toStdString();
    const KeyMap keys(snapped.image);
    EXPECT_EQ(keys.piecesOf(Key::Start, Touch::SidesAndCorners).size(), 1u);
    EXPECT_EQ(keys.count(Key::Start), KeyMap(builtInLevel(1)).count(Key::Start));
    EXPECT_GT(keys.pixelsOf(Key::Link, box(190, 450, 400, 479)).size(), 100u) << "the text is still there";
}

// Dark red painted exactly stays, beside black and red too: the stems of a
// word MENU painted on the path's edge, a ring around the start disc, a
// dark red disc with a soft rim on the path.
TEST(SnapTest, ExactDarkRedStaysBesideBlackAndRed)
{
    QImage painted = paintedLevel(1);
    QPainter p(&painted);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(keyrgb::DarkRed));
    p.drawRect(QRect(300, 190, 2, 20)); // a stem across the path's soft edge
    p.drawRect(QRect(306, 190, 1, 20));
    p.setRenderHint(QPainter::Antialiasing);
    p.drawEllipse(QPointF(400, 240), 9.5, 9.5); // soft rim on black
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgb(keyrgb::DarkRed), 2));
    p.drawEllipse(QPoint(90, 240), 16, 16); // around the soft start disc
    p.end();

    const Snapped snapped = snapToKeyColours(painted);
    int exact = 0, kept = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            if (painted.pixel(x, y) == QRgb(keyrgb::DarkRed)) {
                ++exact;
                kept += snapped.image.pixel(x, y) == QRgb(keyrgb::DarkRed);
            }
    EXPECT_GT(exact, 300);
    EXPECT_EQ(kept, exact);
}

// A picture saved with a little noise in every channel (a JPEG's, or a colour
// profile's shift) snaps back to its key colours exactly.
TEST(SnapTest, ColoursCloseToTheKeyTakeTheirKeyColour)
{
    const QImage clean = builtInLevel(17);
    QImage noisy = clean;
    quint32 seed = 1;
    auto jitter = [&seed](int v) {
        seed = seed * 1664525u + 1013904223u;
        return std::clamp(v + int(seed >> 28) - 8, 0, 255);
    };
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x) {
            const QRgb c = noisy.pixel(x, y);
            noisy.setPixel(x, y, qRgb(jitter(qRed(c)), jitter(qGreen(c)), jitter(qBlue(c))));
        }
    const Snapped snapped = snapToKeyColours(noisy);
    EXPECT_EQ(differing(clean, snapped.image), 0);
}

// Soft edges of a painted level are grey, pink and dark red pixels that the
// rules refuse; snapped, the same picture passes and nothing grey became the
// dark red that would lead back to the menu from beside the path.
TEST(SnapTest, PaintedLevelIsRefusedThenPassesOnceSnapped)
{
    const QImage painted = paintedLevel(2);
    const std::vector<Finding> before = checkPlayerMaze(QStringLiteral("level-01.png"), painted, Language::English);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before[0].rule, QStringLiteral("key colours"));

    const Snapped snapped = snapToKeyColours(painted);
    EXPECT_GT(snapped.changed, 100);
    EXPECT_LT(snapped.changed, 20000);
    std::vector<PathMeasure> ways;
    for (const Finding& f : checkPlayerMaze(QStringLiteral("level-01.png"), snapped.image, Language::English, &ways))
        ADD_FAILURE() << f.line().toStdString();
    ASSERT_EQ(ways.size(), 1u);
    EXPECT_TRUE(ways[0].connected);
    EXPECT_EQ(snapToKeyColours(snapped.image).changed, 0) << "a snapped picture stays as it is";
}

// A built-in maze copied out is already in the key: snapping it changes only
// the few specks outside the key, and keeps its orange top strip.
TEST(SnapTest, KeyColoursAMazeMayHoldStayAsTheyAre)
{
    QImage img = playerLevel();
    QPainter(&img).fillRect(QRect(200, 2, 100, 12), QColor::fromRgb(keyrgb::Orange));
    img.setPixel(300, 300, qRgb(0x33, 0x33, 0x33));
    const Snapped snapped = snapToKeyColours(img);
    EXPECT_EQ(snapped.changed, 1);
    EXPECT_EQ(snapped.image.pixel(250, 5), QRgb(keyrgb::Orange));
    EXPECT_EQ(snapped.image.pixel(300, 300), QRgb(keyrgb::Black));
}

// Every grey as the soft edge between black and white: the greys of the key
// stay as painted (the rules then name them); every other grey becomes black
// or white by its brightness, never a colour that acts.
TEST(SnapTest, GreyEdgesBecomeBlackOrWhiteNeverAColourThatActs)
{
    // Row 3v: black, grey v, white; two rows of white keep the rows apart.
    QImage greys(3, 3 * 256, QImage::Format_RGB32);
    greys.fill(keyrgb::White);
    for (int v = 0; v < 256; ++v) {
        greys.setPixel(0, 3 * v, keyrgb::Black);
        greys.setPixel(1, 3 * v, qRgb(v, v, v));
    }
    const QImage out = snapToKeyColours(greys).image;
    for (int v = 0; v < 256; ++v) {
        const QRgb in = greys.pixel(1, 3 * v);
        const QRgb expected = keyOf(in) != Key::Inert ? in : QRgb(v < 128 ? keyrgb::Black : keyrgb::White);
        EXPECT_EQ(out.pixel(1, 3 * v), expected) << v;
    }
}

// An anti-aliased edge between white and black whose greys run through the
// key's light grey on one pixel: that pixel is part of the edge, not a menu
// item painted into the maze.
TEST(SnapTest, AKeyGreyThatASoftEdgeHappensToHitIsPartOfTheEdge)
{
    const int row[] = {0xc7, 0xc3, 0xc0, 0xbd, 0xba, 0xb7, 0xba};
    QImage edge(7, 3, QImage::Format_RGB32);
    for (int x = 0; x < 7; ++x) {
        edge.setPixel(x, 0, keyrgb::White);
        edge.setPixel(x, 1, qRgb(row[x], row[x], row[x]));
        edge.setPixel(x, 2, keyrgb::Black);
    }
    ASSERT_EQ(edge.pixel(2, 1), QRgb(keyrgb::LightGrey));
    const QImage out = snapToKeyColours(edge).image;
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(out.pixel(x, 1), QRgb(keyrgb::White)) << x;
}

} // namespace
} // namespace zw::check
