// A player's folder of levels: each rule broken once, and files that try to
// hang or exhaust the reader, each refused with the rule and file it breaks.

#include "PlayerFixtures.h"

#include "base/ColorKey.h"
#include "check/PlayerLevels.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::check {
namespace {

using namespace zw::fixtures;

void paint(QImage& img, QRect r, std::uint32_t rgb)
{
    QPainter p(&img);
    p.fillRect(r, QColor::fromRgba(rgb));
}

// The CRC-32 a PNG chunk ends with (over its type and data).
quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : bytes) {
        crc ^= quint8(ch);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString level(const QString& dir, int k) { return QDir(dir).filePath(playerLevelFile(k)); }

void saveChanged(const QString& dir, int k, const std::function<void(QImage&)>& change)
{
    QImage img = playerLevel();
    change(img);
    ASSERT_TRUE(img.save(level(dir, k)));
}

struct BrokenFolder {
    const char* name;
    std::function<void(const QString& dir)> breakIt; // on a clean folder of three levels
    const char* file;   // the finding's picture
    const char* rule;   // its rule, in English
    const char* detail; // a piece of its detail
};

const BrokenFolder brokenFolders[] = {
    {"WrongSize", [](const QString& d) { QImage(641, 480, QImage::Format_RGB32).save(level(d, 2)); },
     "level-02.png", "size", "found 641 x 480"},
    {"NotOpaque", [](const QString& d) {
         QImage img = playerLevel().convertToFormat(QImage::Format_ARGB32);
         img.setPixel(300, 100, qRgba(255, 255, 255, 128));
         img.save(level(d, 1));
     }, "level-01.png", "opaque", "first at (300,100)"},
    {"AntiAliasedGrey", [](const QString& d) { saveChanged(d, 3, [](QImage& i) { i.setPixel(5, 6, qRgb(200, 200, 200)); }); },
     "level-03.png", "key colours", "#c8c8c8"},
    {"MenuItemColour", [](const QString& d) { saveChanged(d, 1, [](QImage& i) { paint(i, {600, 400, 3, 3}, keyrgb::Grey); }); },
     "level-01.png", "key colours", "grey does not belong in a maze: 9 px, first at (600,400)"},
    {"NoStart", [](const QString& d) { saveChanged(d, 2, [](QImage& i) { paint(i, {70, 230, 20, 20}, keyrgb::Black); }); },
     "level-02.png", "start", "found 0"},
    {"TwoStarts", [](const QString& d) { saveChanged(d, 2, [](QImage& i) { paint(i, {300, 230, 5, 5}, keyrgb::Red); }); },
     "level-02.png", "start", "the second at (300,230)"},
    {"NoGoal", [](const QString& d) { saveChanged(d, 3, [](QImage& i) { paint(i, {550, 230, 20, 20}, keyrgb::Black); }); },
     "level-03.png", "goal", "no green goal"},
    {"GoalCutOff", [](const QString& d) { saveChanged(d, 1, [](QImage& i) { paint(i, {400, 220, 4, 40}, keyrgb::White); }); },
     "level-01.png", "path", "not joined"},
    {"PathTouchesMenu", [](const QString& d) { saveChanged(d, 1, [](QImage& i) { paint(i, {300, 260, 4, 4}, keyrgb::DarkRed); }); },
     "level-01.png", "path", "touches dark red: 4 px, first at (300,260)"},
    // The path runs out of the window on the left: a run could go round every wall.
    {"PathOnTheEdge", [](const QString& d) { saveChanged(d, 2, [](QImage& i) { paint(i, {0, 220, 60, 40}, keyrgb::Black); }); },
     "level-02.png", "edge", "40 px, first at (0,220)"},
    {"GoalOnTheBottomEdge", [](const QString& d) { saveChanged(d, 3, [](QImage& i) { paint(i, {550, 250, 20, 230}, keyrgb::Green); }); },
     "level-03.png", "edge", "20 px, first at (550,479)"},
    {"NoWayBack", [](const QString& d) { saveChanged(d, 2, [](QImage& i) { paint(i, {20, 20, 30, 30}, keyrgb::White); }); },
     "level-02.png", "menu", "no dark red spot"},
    {"Gap", [](const QString& d) { QFile::remove(level(d, 2)); }, "level-02.png", "file", "without gaps"},
    {"Empty", [](const QString& d) { for (int k = 1; k <= 3; ++k) QFile::remove(level(d, k)); }, "level-01.png", "file", "missing"},
    {"TwentyOne", [](const QString& d) { playerLevel().save(level(d, 21)); }, "level-21.png", "folder", "at most 20"},
    {"Pipe", [](const QString& d) { QFile::remove(level(d, 2)); ::mkfifo(QFile::encodeName(level(d, 2)).constData(), 0600); },
     "level-02.png", "file", "not a regular file"},
    {"Folder", [](const QString& d) { QFile::remove(level(d, 2)); QDir().mkdir(level(d, 2)); },
     "level-02.png", "file", "not a regular file"},
    {"LinkLoop", [](const QString& d) { QFile::remove(level(d, 3)); QFile::link(level(d, 3), level(d, 3)); },
     "level-03.png", "file", "cannot be read"},
    {"Truncated", [](const QString& d) {
         QFile f(level(d, 1));
         f.open(QIODevice::ReadOnly);
         const QByteArray head = f.read(200);
         f.close();
         f.open(QIODevice::WriteOnly | QIODevice::Truncate);
         f.write(head);
     }, "level-01.png", "file", "cannot be read as a picture"},
    {"Huge", [](const QString& d) {
         // A real PNG whose header claims 20,000 x 20,000 pixels: decoding
         // it would take 1.6 GB.
         QByteArray png;
         {
             QBuffer buffer(&png);
             buffer.open(QIODevice::WriteOnly);
             QImage(1, 1, QImage::Format_RGB32).save(&buffer, "PNG");
         }
         auto put32 = [&](int at, quint32 v) { for (int i = 0; i < 4; ++i) png[at + i] = char((v >> (24 - 8 * i)) & 0xFF); };
         put32(16, 20000);
         put32(20, 20000);
         put32(29, crc32Of(png.mid(12, 17)));
         QFile f(level(d, 2));
         f.open(QIODevice::WriteOnly | QIODevice::Truncate);
         f.write(png);
     }, "level-02.png", "size", "found 20000 x 20000"},
    {"TooLargeFile", [](const QString& d) {
         QFile f(level(d, 3));
         f.open(QIODevice::WriteOnly | QIODevice::Truncate);
         f.resize(LargestPictureFile + 1);
     }, "level-03.png", "file", "file too large"},
};

class BrokenFolderTest : public ::testing::TestWithParam<BrokenFolder> {};

TEST_P(BrokenFolderTest, IsRefusedAtOnceNamingFileAndRule)
{
    const BrokenFolder& c = GetParam();
    QTemporaryDir tmp;
    const QString dir = tmp.filePath(QStringLiteral("levels"));
    writePlayerFolder(dir, 3);
    c.breakIt(dir);

    QElapsedTimer clock;
    clock.start();
    const PlayerFolder folder = openPlayerFolder(dir, Language::English);
    EXPECT_LT(clock.elapsed(), 5000) << "no hang";
    bool named = false;
    for (const Finding& f : folder.findings)
        named = named || (f.picture == QLatin1String(c.file) && f.rule == QLatin1String(c.rule)
                          && f.detail.contains(QLatin1String(c.detail)));
    QStringList lines;
    for (const Finding& f : folder.findings)
        lines << f.line();
    EXPECT_TRUE(named) << "expected " << c.file << ": " << c.rule << ": ..." << c.detail << "...\nfound:\n"
                       << lines.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rules, BrokenFolderTest, ::testing::ValuesIn(brokenFolders),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlayerFolderTest, CleanFolderOfAnyFormatOpensWithItsLevelsDecoded)
{
    QTemporaryDir tmp;
    writePlayerFolder(tmp.path(), 2);
    // A palette GIF under the .png name is read by its content.
    ASSERT_TRUE(playerLevel().convertToFormat(QImage::Format_Indexed8).save(level(tmp.path(), 3), "GIF")
                || playerLevel().save(level(tmp.path(), 3), "BMP"));
    const PlayerFolder folder = openPlayerFolder(tmp.path(), Language::English, true);
    for (const Finding& f : folder.findings)
        ADD_FAILURE() << f.line().toStdString();
    ASSERT_EQ(folder.levels.size(), 3u);
    for (const PlayerLevel& l : folder.levels) {
        EXPECT_EQ(l.image.size(), QSize(640, 480));
        ASSERT_EQ(l.ways.size(), 1u);
        EXPECT_TRUE(l.ways[0].connected);
        EXPECT_GE(l.ways[0].narrowest, 39.0);
    }
    EXPECT_EQ(folder.canonicalPath, QDir(tmp.path()).canonicalPath());
}

TEST(PlayerFolderTest, FindingsSpeakCzech)
{
    QTemporaryDir tmp;
    writePlayerFolder(tmp.path(), 1);
    saveChanged(tmp.path(), 1, [](QImage& i) { paint(i, {550, 230, 20, 20}, keyrgb::Black); });
    const PlayerFolder folder = openPlayerFolder(tmp.path(), Language::Czech);
    ASSERT_EQ(folder.findings.size(), 1u);
    EXPECT_EQ(folder.findings[0].line(), QStringLiteral("level-01.png: cíl: žádný zelený cíl"));
}

} // namespace
} // namespace zw::check
