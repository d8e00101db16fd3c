// The checker on a whole folder of picture files: clean fixtures written as
// the drawing tool writes them, then one file removed or changed.

#include "Fixtures.h"

#include "check/CheckFolder.h"
#include "check/ContactSheet.h"
#include "check/DifficultyCurve.h"
#include "check/KeyColour.h"
#include "check/Playability.h"
#include "check/PlayTable.h"
#include "base/Levels.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace zw::check {
namespace {

using namespace zw::fixtures;

QImage makeClean(const PictureInfo& info)
{
    switch (info.kind) {
    case PictureKind::Level: return encode(level(info.level));
    case PictureKind::Menu: return encode(menu(info.english));
    case PictureKind::Closing: return encode(closing());
    case PictureKind::Pointer: return pointer(info.run);
    }
    return {};
}

// Built once: every test starts from the same clean set.
const QImage& cleanPicture(const PictureInfo& info)
{
    static const std::vector<QImage> all = [] {
        std::vector<QImage> v;
        for (const PictureInfo& i : allPictures())
            v.push_back(makeClean(i));
        return v;
    }();
    for (std::size_t i = 0; i < allPictures().size(); ++i)
        if (allPictures()[i].file == info.file)
            return all[i];
    throw std::out_of_range("unknown picture");
}

class Folder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const PictureInfo& info : allPictures())
            write(info.file, cleanPicture(info));
    }
    void write(const QString& file, const QImage& img)
    {
        ASSERT_TRUE(QImageWriter(dir.filePath(file), "png").write(img)) << file.toStdString();
    }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (const Finding& f : checkFolder(dir.path()).findings)
            out.push_back(f.line().toStdString());
        return out;
    }
    QTemporaryDir dir;
};

// The PNG round trip keeps the 8-bit palette, so the clean set stays clean.
TEST_F(Folder, CleanSetHasNoFindings)
{
    EXPECT_EQ(lines(), std::vector<std::string>{});
}

TEST_F(Folder, MissingFileIsNamed)
{
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("level-13.png"))));
    const std::vector<std::string> found = lines();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rfind("level-13.png: file: missing", 0), 0u) << found[0];
}

TEST_F(Folder, UnreadableFileIsNamed)
{
    QFile f(dir.filePath(QStringLiteral("closing.png")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("not a picture");
    f.close();
    const std::vector<std::string> found = lines();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rfind("closing.png: file: cannot be read", 0), 0u) << found[0];
}

// Only the captions may differ between the two menus.
TEST_F(Folder, MenusDifferOnlyInTheItemBoxes)
{
    QImage en = menu(true);
    en.setPixel(600, 470, 0xFF000000u); // still black: no change
    write(QStringLiteral("menu-en.png"), encode(en));
    EXPECT_EQ(lines(), std::vector<std::string>{});

    fill(en, box(620, 400, 621, 401), white); // a speck of white at the lower right
    write(QStringLiteral("menu-en.png"), encode(en));
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           "menu-en.png: same as menu-cs.png: differs outside the item boxes: 4 px, first at (620,400)"}));
}

TEST_F(Folder, PlayabilityTableHasEveryLevel)
{
    const QString table = playabilityTable(checkFolder(dir.path()).pictures);
    const QStringList rows = table.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 2 + std::size_t(LastMaze));
    // Level 1's corridor is 31 pixels wide; level 8 lists its two goals.
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("| 01 | "))) << rows[2].toStdString();
    EXPECT_TRUE(rows[2].contains(QStringLiteral("| 31 |"))) << rows[2].toStdString();
    EXPECT_EQ(rows[9].count(QStringLiteral(" / ")), 5) << rows[9].toStdString();
    // Level 1's L-shaped corridor: 493 + 261 pixels along its middle, 31 wide
    // there, so a steering difficulty a little under 754 / 31; the easiest way
    // cuts the bend's inner corner a little, narrower there than the middle.
    const QStringList cells = rows[2].split(QLatin1Char('|'));
    ASSERT_EQ(cells.size(), 8) << rows[2].toStdString();
    const double id = cells[5].trimmed().toDouble();
    EXPECT_GT(id, 20.0) << rows[2].toStdString();
    EXPECT_LE(id, 754.0 / 31.0) << rows[2].toStdString();
    const double narrowest = cells[6].trimmed().toDouble();
    EXPECT_GT(narrowest, 25.0) << rows[2].toStdString();
    EXPECT_LE(narrowest, 31.0) << rows[2].toStdString();
}

// Each level's difficulty as read from its file; a missing file is left
// unmeasured. The plain corridors of the fixtures make level 1 too hard for
// the first maze, which the curve names.
TEST_F(Folder, DifficultyOfEveryLevelFromItsFile)
{
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("level-05.png"))));
    const FolderCheck result = checkFolder(dir.path());
    const std::vector<LevelDifficulty> levels = levelDifficulties(result.pictures);
    ASSERT_EQ(levels.size(), std::size_t(LastMaze));
    for (int i = 0; i < LastMaze; ++i) {
        EXPECT_EQ(levels[i].level, i + 1);
        EXPECT_EQ(levels[i].measured, i != 4) << i + 1;
        if (i == 4)
            continue;
        EXPECT_DOUBLE_EQ(levels[i].widestNarrowest, 31.0) << i + 1;
        EXPECT_GT(levels[i].easiestNarrowest, 20.0) << i + 1; // cutting the bend
        EXPECT_LE(levels[i].easiestNarrowest, 31.0) << i + 1;
    }
    EXPECT_GT(levels[0].id, 20.0);
    EXPECT_LE(levels[0].id, 754.0 / 31.0);

    // Level 8 counts the easier of its two goals.
    const auto measures = measureLevel(KeyMap(result.pictures[2 + 7].image), 8);
    ASSERT_EQ(result.pictures[2 + 7].info.level, 8);
    EXPECT_NE(measures[0].difficulty, measures[1].difficulty);
    EXPECT_DOUBLE_EQ(levels[7].id, std::min(measures[0].difficulty, measures[1].difficulty));

    const std::vector<Finding> curve = checkDifficultyCurve(levels);
    ASSERT_FALSE(curve.empty());
    EXPECT_EQ(curve[0].line().toStdString().rfind("level-01.png: difficulty: ID ", 0), 0u)
        << curve[0].line().toStdString();
}

// Thumbnails are nearest-neighbour quarters; a missing picture shows loud magenta.
TEST_F(Folder, ContactSheetShowsEveryPicture)
{
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("level-02.png"))));
    const FolderCheck result = checkFolder(dir.path());
    const QImage sheet = contactSheet(result.pictures);
    ASSERT_EQ(sheet.size(), QSize(8 + 6 * 168, 8 + 5 * 144));
    // menu-cs at the top left: its pixel (48, 54) (continue box corner) at (8 + 12, 8 + 13.5).
    EXPECT_EQ(sheet.pixel(8 + 12, 8 + 14), lightGrey);
    // level-02 is the fourth cell of the first row.
    EXPECT_EQ(sheet.pixel(8 + 3 * 168 + 80, 8 + 60), qRgb(255, 0, 255));

    // Given the difficulties, each measured maze's label gains its ID: the
    // label strip of level-01 (third cell) changes, the menu's does not.
    const QImage labelled = contactSheet(result.pictures, levelDifficulties(result.pictures));
    ASSERT_EQ(labelled.size(), sheet.size());
    const auto labelStrip = [](const QImage& img, int cell) { return img.copy(8 + cell * 168, 8 + 120, 160, 16); };
    EXPECT_NE(labelStrip(labelled, 2), labelStrip(sheet, 2));
    EXPECT_EQ(labelStrip(labelled, 0), labelStrip(sheet, 0));
    EXPECT_EQ(labelStrip(labelled, 3), labelStrip(sheet, 3)); // level-02 is missing: no ID
}

} // namespace
} // namespace zw::check
