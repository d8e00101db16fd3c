// A level pack made ready to play: its progress section follows its levels'
// bytes, not its name or place; its title names it; a refusal says "pack".

#include "PlayerFixtures.h"
#include "ZipBytes.h"

#include "app/LevelPack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zw::test {
namespace {

using fixtures::ZipEntry;

QString writePack(const QString& path, const std::vector<ZipEntry>& entries)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray bytes = fixtures::zipBytes(entries);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path;
}

std::vector<ZipEntry> twoLevels(const QImage& second)
{
    return {{"level-01.png", fixtures::pngBytes(fixtures::playerLevel()), true},
            {"level-02.png", fixtures::pngBytes(second), true}};
}

TEST(LevelPack, SectionFollowsTheLevelsNotTheNameOrPlace)
{
    QTemporaryDir tmp;
    const QImage level = fixtures::playerLevel();
    const LevelFolder a = openLevelPack(writePack(tmp.filePath(QStringLiteral("a.zigwalk")), twoLevels(level)), 1);
    ASSERT_TRUE(a.findings.isEmpty()) << a.findings.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(a.levels.lastMaze, 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^SaveGame-pack-[0-9a-f]{16}$")).match(a.levels.saveSection).hasMatch())
        << a.levels.saveSection.toStdString();

    // Moved and renamed, with a pack.txt added: the same levels.
    auto entries = twoLevels(level);
    entries.push_back({"pack.txt", "name: Two"});
    const LevelFolder moved = openLevelPack(writePack(tmp.filePath(QStringLiteral("elsewhere/b.zigwalk")), entries), 1);
    EXPECT_EQ(moved.levels.saveSection, a.levels.saveSection);

    // One pixel of a level changed: another pack.
    QImage edited = level;
    edited.setPixel(3, 3, qRgb(0, 0, 0));
    const LevelFolder changed = openLevelPack(writePack(tmp.filePath(QStringLiteral("a2.zigwalk")), twoLevels(edited)), 1);
    ASSERT_TRUE(changed.findings.isEmpty()) << changed.findings.join(QLatin1Char('\n')).toStdString();
    EXPECT_NE(changed.levels.saveSection, a.levels.saveSection);
    // The levels in the other order: another pack too.
    auto swapped = twoLevels(edited);
    std::swap(swapped[0].data, swapped[1].data);
    const LevelFolder reordered = openLevelPack(writePack(tmp.filePath(QStringLiteral("a3.zigwalk")), swapped), 1);
    EXPECT_NE(reordered.levels.saveSection, changed.levels.saveSection);
}

TEST(LevelPack, TitleNamesThePackAndItsAuthor)
{
    const struct {
        const char* info;
        const char* title;
        const char* file = "p.zigwalk";
    } cases[] = {
        {"name: Bends\nauthor: Jana\n", "Zig-walk – Bends (Jana)"},
        {"name: Bends\n", "Zig-walk – Bends"},
        {"author: Jana\n", "Zig-walk – p.zigwalk (Jana)"},
        {nullptr, "Zig-walk – p.zigwalk"},
        {"name: Bell\x07s\n", "Zig-walk – Bells"},
        // A right-to-left override would turn the rest of the title round.
        {"name: \u202Egnp.exe\nauthor: Ja\u200Bna\n", "Zig-walk – gnp.exe (Jana)"},
        {nullptr, "Zig-walk – a\\nb.zigwalk", "a\nb.zigwalk"},
        {nullptr, "Zig-walk – \\u202egnp.zigwalk", "\u202Egnp.zigwalk"},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        auto entries = twoLevels(fixtures::playerLevel());
        if (c.info)
            entries.push_back({"pack.txt", c.info});
        const LevelFolder pack = openLevelPack(writePack(tmp.filePath(QString::fromUtf8(c.file)), entries), 0);
        ASSERT_TRUE(pack.findings.isEmpty()) << pack.findings.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(pack.title, QString::fromUtf8(c.title));
    }
}

TEST(LevelPack, RefusalNamesThePack)
{
    QTemporaryDir tmp;
    const QString path = writePack(tmp.filePath(QStringLiteral("p.zigwalk")), {{"../x.png", "x"}});
    const LevelFolder pack = openLevelPack(path, 1);
    ASSERT_FALSE(pack.findings.isEmpty());
    EXPECT_FALSE(pack.mazes);
    EXPECT_TRUE(refusalText(path, pack.findings, 1, true).startsWith(QStringLiteral("The level pack %1 cannot be played:").arg(path)));
}

} // namespace
} // namespace zw::test
