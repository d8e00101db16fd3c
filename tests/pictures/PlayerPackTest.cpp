// Level packs: a clean pack opens as its folder would, keyed by its levels'
// bytes; hostile packs are refused at once, naming the entry that breaks them.

#include "HostileFiles.h"
#include "PlayerFixtures.h"
#include "ZipBytes.h"

#include "check/PlayerPack.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace zw::check {
namespace {

using fixtures::pngBytes;
using fixtures::ZipEntry;

QByteArray levelBytes() { return pngBytes(fixtures::playerLevel()); }

std::vector<ZipEntry> cleanEntries(int levels)
{
    std::vector<ZipEntry> entries;
    for (int k = 1; k <= levels; ++k)
        entries.push_back({playerLevelFile(k).toUtf8(), levelBytes(), true});
    return entries;
}

// Entries x0, x1, ...: names no pack holds, as many as asked.
std::vector<ZipEntry> manyEntries(int count)
{
    std::vector<ZipEntry> e;
    for (int i = 0; i < count; ++i)
        e.push_back({QByteArray("x") + QByteArray::number(i), {}});
    return e;
}

QString writePack(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path;
}

QString allLines(const PlayerPack& pack)
{
    QString lines;
    for (const Finding& f : pack.levels.findings)
        lines += f.line() + QLatin1Char('\n');
    return lines;
}

TEST(PlayerPackTest, CleanPackOpensWithItsLevelsInfoAndContentKey)
{
    QTemporaryDir tmp;
    auto entries = cleanEntries(3);
    // The archive's order is not the levels' order.
    std::swap(entries[0], entries[2]);
    entries.push_back({"pack.txt", "name: Three Bends\nauthor: Jana Nováková\ndescription: my first\nnonsense line\n"});
    const QString path = writePack(tmp.filePath(QStringLiteral("three.zigwalk")), fixtures::zipBytes(entries));
    const PlayerPack pack = openPlayerPack(path, Language::English);
    ASSERT_TRUE(pack.levels.findings.empty()) << allLines(pack).toStdString();
    ASSERT_EQ(pack.levels.levels.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(pack.levels.levels[std::size_t(k - 1)].file, playerLevelFile(k));
        EXPECT_EQ(pack.levels.levels[std::size_t(k - 1)].image.format(), QImage::Format_Indexed8);
    }
    EXPECT_EQ(pack.info.name, QStringLiteral("Three Bends"));
    EXPECT_EQ(pack.info.author, QStringLiteral("Jana Nováková"));
    EXPECT_EQ(pack.info.description, QStringLiteral("my first"));
    EXPECT_EQ(pack.contentHash.size(), 32);

    // Another name, another order, another info file, an archive comment:
    // the same levels, the same key.
    auto renamed = cleanEntries(3);
    const QString other =
        writePack(tmp.filePath(QStringLiteral("renamed.zigwalk")), fixtures::zipBytes(renamed, {-1, "made by hand"}));
    EXPECT_EQ(openPlayerPack(other, Language::English).contentHash, pack.contentHash);
    // One level changed: a new key.
    QImage changed = fixtures::playerLevel();
    changed.setPixel(5, 5, qRgb(0, 0, 0));
    renamed[1].data = pngBytes(changed);
    const QString edited = writePack(tmp.filePath(QStringLiteral("edited.zigwalk")), fixtures::zipBytes(renamed));
    const PlayerPack editedPack = openPlayerPack(edited, Language::English);
    ASSERT_TRUE(editedPack.levels.findings.empty()) << allLines(editedPack).toStdString();
    EXPECT_NE(editedPack.contentHash, pack.contentHash);
}

TEST(PlayerPackTest, LevelsAreHeldToTheFolderRules)
{
    QTemporaryDir tmp;
    auto entries = cleanEntries(3);
    entries.erase(entries.begin() + 1); // level-02.png gone
    QImage broken = fixtures::playerLevel();
    broken.fill(Qt::white);
    entries[1].data = pngBytes(broken); // level-03.png: no path
    const PlayerPack pack = openPlayerPack(writePack(tmp.filePath(QStringLiteral("p.zigwalk")), fixtures::zipBytes(entries)),
                                           Language::English);
    const QString lines = allLines(pack);
    EXPECT_TRUE(lines.contains(QStringLiteral("level-02.png: file: missing, but level-03.png is there"))) << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("level-03.png: path: no black"))) << lines.toStdString();
    EXPECT_TRUE(pack.contentHash.isEmpty());
}

struct HostilePack {
    const char* name;
    std::function<std::vector<ZipEntry>()> entries;
    const char* entry;  // the finding's first field: the entry (or the pack) named
    const char* detail; // a piece of its detail
    fixtures::ZipEnd end = {};
};

const QByteArray zeros(9 * 1024 * 1024, '\0'); // past the picture cap, a few KB deflated

const HostilePack hostilePacks[] = {
    {"ZipBombDeclaringItsSize", [] { return std::vector<ZipEntry>{{"level-01.png", zeros, true}}; },
     "level-01.png", "declares 9437184 bytes, at most 8388608"},
    {"ZipBombDeclaringLittle", [] { return std::vector<ZipEntry>{{"level-01.png", zeros, true, 2000}}; },
     "level-01.png", "inflates to more than its declared 2000 bytes"},
    {"DotDotName", [] { auto e = cleanEntries(1); e.push_back({"../level-02.png", levelBytes()}); return e; },
     "../level-02.png", "leads out of the pack"},
    {"AbsoluteName", [] { auto e = cleanEntries(1); e.push_back({"/tmp/level-02.png", levelBytes()}); return e; },
     "/tmp/level-02.png", "an absolute path"},
    {"NameInAFolder", [] { return std::vector<ZipEntry>{{"levels/level-01.png", levelBytes()}}; },
     "levels/level-01.png", "a folder"},
    {"SymlinkEntry", [] { auto e = cleanEntries(1); e.push_back({"level-02.png", "/etc/passwd", false, -1, 0120777}); return e; },
     "level-02.png", "a link"},
    {"TenThousandEntries", [] { return manyEntries(10000); }, "x32", "entry 33 of 10000; a pack holds at most 32"},
    // The archive library lists the directory up to the end record whatever
    // count the record gives.
    {"TenThousandEntriesCountedAsOne", [] { return manyEntries(10000); },
     "hostile.zigwalk", "central directory does not match its end record", {1, {}}},
    // The last end record is the one the library takes: one hidden in the
    // comment, claiming a single entry and passing the library's own checks,
    // must not hide the ten thousand the true one admits.
    {"ForgedEndRecordInTheComment", [] { return manyEntries(10000); },
     "hostile.zigwalk", "central directory does not match its end record", {-1, fixtures::endRecordBytes(1, 48, 0, 0)}},
    {"StoredSizeThatLiesHigh", [] { auto e = cleanEntries(1); e[0].deflate = false; e[0].declaredSize = e[0].data.size() + 500; return e; },
     "level-01.png", "its declared"},
    {"StoredSizeThatLiesLow", [] { auto e = cleanEntries(1); e[0].deflate = false; e[0].declaredSize = 100; return e; },
     "level-01.png", "its declared 100 bytes"},
    {"DeflatedSizeThatLiesHigh", [] { auto e = cleanEntries(1); e[0].declaredSize = e[0].data.size() + 500; return e; },
     "level-01.png", "its declared"},
    {"DeflatedSizeThatLiesLow", [] { auto e = cleanEntries(1); e[0].declaredSize = 100; return e; },
     "level-01.png", "its declared 100 bytes"},
    {"NestedZipByName", [] { auto e = cleanEntries(1); e.push_back({"more.zip", fixtures::zipBytes(cleanEntries(1))}); return e; },
     "more.zip", "a nested archive"},
    {"NestedZipAsALevel", [] { auto e = cleanEntries(1); e.push_back({"level-02.png", fixtures::zipBytes(cleanEntries(1))}); return e; },
     "level-02.png", "a nested archive"},
    {"InfoFileOfAMegabyte", [] { auto e = cleanEntries(1); e.push_back({"pack.txt", QByteArray(1 << 20, 'a'), true}); return e; },
     "pack.txt", "declares 1048576 bytes, at most 1024"},
    {"OtherFile", [] { auto e = cleanEntries(1); e.push_back({"readme.md", "hello"}); return e; },
     "readme.md", "a pack holds only level-01.png to level-20.png and pack.txt"},
    {"SameLevelTwice", [] { auto e = cleanEntries(1); e.push_back(e[0]); return e; },
     "level-01.png", "is in the pack twice"},
    {"InfoNotUtf8", [] { auto e = cleanEntries(1); e.push_back({"pack.txt", "name: \xff\xfe"}); return e; },
     "pack.txt", "not UTF-8"},
    {"TwentyOneLevels", [] { return cleanEntries(21); }, "level-21.png", "at most 20 levels"},
    {"NoLevels", [] { return std::vector<ZipEntry>{{"pack.txt", "name: empty"}}; }, "level-01.png", "missing in hostile.zigwalk"},
    {"NotAZip", [] { return std::vector<ZipEntry>{}; }, "hostile.zigwalk", "not a ZIP archive"},
    // A level is decoded within the same bounds as a folder's: 64 MB of
    // zeros after the last row is refused at the first byte past it.
    {"LevelWithDataPastItsRows",
     [] { return std::vector<ZipEntry>{{"level-01.png", fixtures::rgbPng(fixtures::playerLevel(), {{}, qint64(64) << 20}), true}}; },
     "level-01.png", "its image data goes on past the last row"},
    // A name that would break the finding's line or drive the terminal is
    // shown escaped.
    {"NameWithControlCharacters", [] { auto e = cleanEntries(1); e.push_back({"level\n\x1b[2J.png", "x"}); return e; },
     "level\\n\\x1b[2J.png", "a pack holds only"},
};

void PrintTo(const HostilePack& c, std::ostream* os) { *os << c.name; }

class HostilePackTest : public ::testing::TestWithParam<HostilePack> {};

TEST_P(HostilePackTest, IsRefusedAtOnceNamingTheEntry)
{
    QTemporaryDir tmp;
    const HostilePack& c = GetParam();
    const QByteArray bytes = std::string_view(c.name) == "NotAZip" ? QByteArray("PK\x03\x04 not really") : fixtures::zipBytes(c.entries(), c.end);
    const QString path = writePack(tmp.filePath(QStringLiteral("hostile.zigwalk")), bytes);
    QElapsedTimer clock;
    clock.start();
    const PlayerPack pack = openPlayerPack(path, Language::English);
    EXPECT_LT(clock.elapsed(), 1000) << "a hostile pack must be refused at once";
    ASSERT_FALSE(pack.levels.findings.empty()) << "accepted";
    bool named = false;
    for (const Finding& f : pack.levels.findings)
        named = named || (f.picture == QLatin1String(c.entry) && f.detail.contains(QLatin1String(c.detail)));
    EXPECT_TRUE(named) << allLines(pack).toStdString();
    EXPECT_TRUE(pack.contentHash.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Packs, HostilePackTest, ::testing::ValuesIn(hostilePacks),
                         [](const auto& info) { return std::string(info.param.name); });

// A pipe named like a pack would wait for a writer for ever if opened as a
// file is.
TEST(PlayerPackTest, PipeIsRefusedWithoutWaiting)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("pipe.zigwalk"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    for (const Language lang : {Language::English, Language::Czech}) {
        const PlayerPack pack = openPlayerPack(path, lang);
        ASSERT_EQ(pack.levels.findings.size(), 1u);
        EXPECT_EQ(pack.levels.findings.front().line(), lang == Language::English
                                                            ? QStringLiteral("pipe.zigwalk: pack: not a regular file")
                                                            : QStringLiteral("pipe.zigwalk: balíček: není obyčejný soubor"));
    }
}

TEST(PlayerPackTest, FindingsSpeakCzech)
{
    QTemporaryDir tmp;
    auto entries = cleanEntries(1);
    entries.push_back({"../x.png", "x"});
    const PlayerPack pack =
        openPlayerPack(writePack(tmp.filePath(QStringLiteral("p.zigwalk")), fixtures::zipBytes(entries)), Language::Czech);
    ASSERT_FALSE(pack.levels.findings.empty());
    EXPECT_EQ(pack.levels.findings.front().line(), QStringLiteral("../x.png: položka: vede ven z balíčku (..)"));
}

} // namespace
} // namespace zw::check
