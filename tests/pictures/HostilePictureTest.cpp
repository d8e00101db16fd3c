// Level pictures built to cost the game more than their pixels, or broken
// in the ways a file breaks: each is read as the game reads a folder's
// picture, at once, and either refused with its reason or decoded to the
// picture and nothing more.

#include "HostileFiles.h"
#include "PlayerFixtures.h"

#include "check/FormatBounds.h"
#include "check/PictureFile.h"
#include "check/PlayerLevels.h"
#include "check/PrintableName.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/fsuid.h>
#include <unistd.h>

namespace zw::check {
namespace {

using namespace zw::fixtures;

const QSize Window(640, 480);

QByteArray saved(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray flipped(QByteArray png, qsizetype at)
{
    png[at] = char(png[at] ^ 0x01);
    return png;
}

struct HostileFile {
    const char* name;
    std::function<QByteArray()> bytes;
    DecodedPicture::Problem problem;
    QSize size; // as the header says, when it says
};

const HostileFile hostileFiles[] = {
    // 8 GiB would take the test as long as it took the game; 1 GiB shows the same.
    {"ImageDataGoesOnForAGigabyte", [] { return rgbPng(playerLevel(), {{}, qint64(1) << 30}); },
     DecodedPicture::DataPastRows, Window},
    {"OneByteOfImageDataPastTheRows", [] { return rgbPng(playerLevel(), {{}, 1}); }, DecodedPicture::DataPastRows, Window},
    {"HugeHeader", [] { return rgbPng(playerLevel(), {{}, 0, 30000, 30000}); }, DecodedPicture::WrongSize, QSize(30000, 30000)},
    {"HeaderOneRowShort", [] { return rgbPng(playerLevel(), {{}, 0, 640, 479}); }, DecodedPicture::WrongSize, QSize(640, 479)},
    {"RowsMissing", [] { return rgbPng(playerLevel().copy(0, 0, 640, 470), {{}, 0, 640, 480}); }, DecodedPicture::Damaged, Window},
    {"CutShortInTheImageData", [] { const QByteArray png = rgbPng(playerLevel()); return png.left(png.size() - 40); },
     DecodedPicture::Damaged, Window},
    {"ImageDataChecksumWrong", [] { const QByteArray png = rgbPng(playerLevel()); return flipped(png, chunkAt(png, "IDAT") + 20); },
     DecodedPicture::Damaged, Window},
    {"HeaderChecksumWrong", [] { return flipped(rgbPng(playerLevel()), 8 + 8 + 12); }, DecodedPicture::Damaged, {}},
    {"UnknownCriticalChunk", [] { return rgbPng(playerLevel(), {pngChunk("ZZZZ", "x")}); }, DecodedPicture::Damaged, Window},
    {"ChunkLongerThanTheFile", [] {
         QByteArray png = rgbPng(playerLevel());
         png[chunkAt(png, "IDAT")] = char(0x7F);
         return png;
     }, DecodedPicture::Damaged, Window},
    {"NoPicture", [] { return QByteArray(5000, 'x'); }, DecodedPicture::UnknownFormat, {}},
    // What a file carries beside its pixels is passed over, not refused.
    {"SevenMegabytesOfText", [] { return rgbPng(playerLevel(), {pngChunk("tEXt", "Comment" + QByteArray(1, '\0') + QByteArray(7 << 20, 'a'))}); },
     DecodedPicture::None, Window},
    {"TextWithAWrongChecksum", [] { QByteArray text = pngChunk("tEXt", "Comment" + QByteArray(1, '\0') + "hello"); text[10] = 'X';
                                     return rgbPng(playerLevel(), {text}); },
     DecodedPicture::None, Window},
    {"ColourProfile", [] {
         QImage img = playerLevel();
         img.setColorSpace(QColorSpace::AdobeRgb);
         return saved(img, "PNG");
     }, DecodedPicture::None, Window},
    {"InterlacedPng", [] { return rgbPng(playerLevel(), {{}, 0, 0, 0, true}); }, DecodedPicture::None, Window},
    {"InterlacedPngWithDataPastTheRows", [] { return rgbPng(playerLevel(), {{}, 1, 0, 0, true}); }, DecodedPicture::DataPastRows, Window},
    {"PalettePng", [] { return saved(playerLevel().convertToFormat(QImage::Format_Indexed8), "PNG"); }, DecodedPicture::None, Window},
    {"SixteenBitPng", [] { return saved(playerLevel().convertToFormat(QImage::Format_RGBA64), "PNG"); }, DecodedPicture::None, Window},
    {"Bmp", [] { return saved(playerLevel(), "BMP"); }, DecodedPicture::None, Window},
    {"Gif", [] { return gifOf(playerLevel()); }, DecodedPicture::None, Window},
    // 100,000 codes of 4,000 pixels each: 400 million pixels in 150 kB.
    {"GifSpellingPastItsPixels", [] { return gifOf(playerLevel(), 100000); }, DecodedPicture::DataPastRows, Window},
    // A frame of 65535 x 65535 on a screen of 640 x 480: Qt would spell out
    // every pixel the codes give, off the screen too.
    {"GifFrameLargerThanItsScreen", [] {
         QByteArray gif = gifOf(playerLevel());
         const qsizetype frame = gif.indexOf(',', 13 + 3 * 256); // after the header and the colour table
         gif.replace(frame + 5, 4, QByteArray(4, char(0xFF)));
         return gif;
     }, DecodedPicture::Damaged, Window},
    {"JpegOfEndlessScans", [] { return jpegOfScans(playerLevel(), MostJpegScans + 1); }, DecodedPicture::TooManyScans, Window},
    // An icon may carry a PNG that Qt decodes with no bound of ours.
    {"Icon", [] { return saved(playerLevel().scaled(256, 256), "ICO"); }, DecodedPicture::UnknownFormat, {}},
    {"BmpOfAnotherSize", [] { return saved(playerLevel().scaled(320, 240), "BMP"); }, DecodedPicture::WrongSize, QSize(320, 240)},
};

class HostileFileTest : public ::testing::TestWithParam<HostileFile> {};

TEST_P(HostileFileTest, RefusedAtOnceOrDecodedAlone)
{
    const HostileFile& c = GetParam();
    QByteArray bytes = c.bytes();
    ASSERT_LE(bytes.size(), LargestPictureFile) << "the fixture itself breaks the file cap";

    QElapsedTimer clock;
    clock.start();
    const DecodedPicture decoded = decodePicture(std::move(bytes), Window);
    EXPECT_LT(clock.elapsed(), 2000) << "no hang";
    EXPECT_EQ(decoded.problem, c.problem);
    if (c.size.isValid()) {
        EXPECT_EQ(decoded.size, c.size);
    }
    if (c.problem != DecodedPicture::None) {
        EXPECT_TRUE(decoded.image.isNull());
        return;
    }
    ASSERT_EQ(decoded.image.size(), Window);
    EXPECT_TRUE(decoded.image.textKeys().isEmpty()) << "text kept with the picture";
    EXPECT_FALSE(decoded.image.colorSpace().isValid()) << "a colour profile kept with the picture";
    const QImage expected = playerLevel();
    const QImage got = decoded.image.convertToFormat(expected.format());
    EXPECT_EQ(got, expected) << "decoded to other pixels than were drawn";
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFileTest, ::testing::ValuesIn(hostileFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// JPEGs as encoders write them, baseline and progressive, pass the scan
// count and are decoded (to other pixels: JPEG is lossy).
TEST(HostileFileTest, JpegsAsEncodersWriteThemAreDecoded)
{
    for (const bool progressive : {false, true}) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive);
        ASSERT_TRUE(writer.write(playerLevel()));
        EXPECT_EQ(jpeg.count("\xFF\xDA"), progressive ? 10 : 1) << "scans";
        const DecodedPicture decoded = decodePicture(jpeg, Window);
        EXPECT_EQ(decoded.problem, DecodedPicture::None) << "progressive " << progressive;
        EXPECT_EQ(decoded.image.size(), Window);
    }
}

// A decoder's complaint about a chunk it then passes over ("libpng warning:
// tRNS: invalid") is no finding and says nothing a player can act on.
TEST(HostileFileTest, DecoderWarningsStayOffTheConsole)
{
    static QStringList heard;
    heard.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { heard << message; });
    // Transparency of an RGB picture takes six bytes; two are "invalid".
    const DecodedPicture decoded = decodePicture(rgbPng(playerLevel(), {pngChunk("tRNS", QByteArray(2, '\0'))}), Window);
    qWarning("still heard after decoding");
    qInstallMessageHandler(previous);
    EXPECT_EQ(decoded.problem, DecodedPicture::None);
    EXPECT_EQ(heard.join(QLatin1Char('\n')).toStdString(), "still heard after decoding");
}

// The game's own case: twenty names for one file whose image data inflates
// to 8 GiB, the most an 8 MB file holds.
TEST(HostileFolderTest, TwentyImageDataBombsAreRefusedWithinTwoSeconds)
{
    QTemporaryDir tmp;
    const QByteArray bomb = rgbPng(playerLevel(), {{}, qint64(8000) << 20});
    ASSERT_LE(bomb.size(), LargestPictureFile);
    ASSERT_GT(bomb.size(), LargestPictureFile * 3 / 4) << "not the size of the file the game met";
    {
        QFile f(tmp.filePath(playerLevelFile(1)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bomb) == bomb.size());
    }
    for (int k = 2; k <= 20; ++k)
        ASSERT_TRUE(QFile::link(tmp.filePath(playerLevelFile(1)), tmp.filePath(playerLevelFile(k))));

    QElapsedTimer clock;
    clock.start();
    const PlayerFolder folder = openPlayerFolder(tmp.path(), Language::English);
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(folder.findings.size(), 20u);
    EXPECT_EQ(folder.findings[19].line(),
              QStringLiteral("level-20.png: file: cannot be read as a picture: its image data goes on past the last row"));
}

// A folder the game cannot open is told apart from one it can, in the
// game's language, with no system text and on one line whatever its name.
struct UnopenedFolder {
    const char* name;
    std::function<QString(const QString& tmp)> make; // the folder to open
    Language lang;
    const char* line; // the one finding; %1 is the folder as shown
    bool readAsAUser = false; // permissions must bind: root reads as "nobody"
};

const UnopenedFolder unopenedFolders[] = {
    {"Missing", [](const QString& t) { return t + QStringLiteral("/nowhere"); }, Language::Czech, "%1: složka: neexistuje"},
    {"MissingInEnglish", [](const QString& t) { return t + QStringLiteral("/nowhere"); }, Language::English, "%1: folder: does not exist"},
    {"AFile", [](const QString& t) {
         writePlayerFolder(t, 1);
         return t + QStringLiteral("/level-01.png");
     }, Language::Czech, "%1: složka: není složka"},
    {"ControlCharactersInTheName", [](const QString& t) { return t + QStringLiteral("/a\nb\x1b[31m"); }, Language::English,
     "%1: folder: does not exist"},
    {"NotValidUtf8", [](const QString& t) { return t + QStringLiteral("/level\uFFFD"); }, Language::English,
     "%1: folder: the name is no valid UTF-8 text and the game cannot open the folder: rename it"},
    {"LinkLoop", [](const QString& t) {
         writePlayerFolder(t, 1);
         QFile::remove(t + QStringLiteral("/level-01.png"));
         QFile::link(t + QStringLiteral("/level-01.png"), t + QStringLiteral("/level-01.png"));
         return t;
     }, Language::Czech, "level-01.png: soubor: nelze číst: odkazy vedou v kruhu"},
    {"FolderNotReadable", [](const QString& t) {
         QDir().mkpath(t + QStringLiteral("/mine"));
         writePlayerFolder(t + QStringLiteral("/mine"), 1);
         QFile::setPermissions(t + QStringLiteral("/mine"), QFileDevice::Permissions());
         return t + QStringLiteral("/mine");
     }, Language::Czech, "%1: složka: nelze číst (chybí oprávnění)", true},
    {"PictureNotReadable", [](const QString& t) {
         writePlayerFolder(t, 1);
         QFile::setPermissions(t + QStringLiteral("/level-01.png"), QFileDevice::Permissions());
         return t;
     }, Language::English, "level-01.png: file: cannot be read (no permission)", true},
};

// Root reads through any permission. For the length of a read, this thread
// looks at files as "nobody" does: a file system user id other than 0 drops
// the capabilities that override permissions, and going back to 0 restores
// them. A user other than root reads as itself.
class ReadAsNobody {
public:
    explicit ReadAsNobody(bool wanted) : active_(wanted && ::geteuid() == 0)
    {
        if (active_) {
            ::setfsgid(NobodyId);
            ::setfsuid(NobodyId);
        }
    }
    ~ReadAsNobody()
    {
        if (active_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    ReadAsNobody(const ReadAsNobody&) = delete;
    ReadAsNobody& operator=(const ReadAsNobody&) = delete;

private:
    static constexpr uid_t NobodyId = 65534;
    bool active_;
};

class UnopenedFolderTest : public ::testing::TestWithParam<UnopenedFolder> {};

TEST_P(UnopenedFolderTest, SaysWhyInItsLanguageOnOneLine)
{
    const UnopenedFolder& c = GetParam();
    QTemporaryDir tmp;
    // Only the permission under test may stand in the way.
    if (c.readAsAUser)
        QFile::setPermissions(tmp.path(), QFile::permissions(tmp.path()) | QFileDevice::ExeOther | QFileDevice::ReadOther);
    const QString folder = c.make(tmp.path());
    PlayerFolder opened;
    {
        const ReadAsNobody asAUser(c.readAsAUser);
        opened = openPlayerFolder(folder, c.lang);
    }
    if (c.readAsAUser)
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(opened.findings.size(), 1u);
    const QString line = opened.findings[0].line();
    EXPECT_EQ(line, QString::fromUtf8(c.line).replace(QLatin1String("%1"), printableName(folder)));
    EXPECT_FALSE(line.contains(QLatin1Char('\n')) || line.contains(QChar(0x1B))) << "a control character in the line";
}

INSTANTIATE_TEST_SUITE_P(Folders, UnopenedFolderTest, ::testing::ValuesIn(unopenedFolders),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::check
