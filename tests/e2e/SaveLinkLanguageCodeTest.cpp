// The features beside the mazes, in the real program, with the mouse and the
// keyboard as a player uses them: progress saved in one run and continued in
// the next, the home-page link, the language switch and a level code.

#include "CloseRequest.h"
#include "CodeBoxSteps.h"
#include "MazePath.h"
#include "SavedFile.h"
#include "platform/store/AtomicFile.h"
#include "support/PaddedStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

namespace zw::e2e {
namespace {

// The count at the end of the deaths line; the status line never reaches
// that far in these tests.
const QRect DeathCount(570, 480, 70, 16);

const QString HomePage = QStringLiteral("http://www.korvel.example/");

QString fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// White letters on the black strip. They are smoothed, so few of their
// pixels are pure white: any clearly light pixel is a letter.
bool hasText(const QImage& area)
{
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (qGray(area.pixel(x, y)) >= 128)
                return true;
    return false;
}

// How many of every 5th pixel two pictures show differently: enough for the
// screen comparison to tell them apart.
int sampledDifferences(const QImage& a, const QImage& b)
{
    int wrong = 0;
    for (int y = 0; y < 480; y += 5)
        for (int x = 0; x < 640; x += 5)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                ++wrong;
    return wrong;
}

// The pixels of the link colour on the picture's row that has most of them:
// one stroke along it passes over every letter of the link.
std::vector<QPoint> linkRow(const QImage& picture)
{
    std::vector<QPoint> best;
    for (int y = 0; y < picture.height(); ++y) {
        std::vector<QPoint> row;
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) == (rgbOf(ColorLink) & 0xFFFFFF))
                row.push_back({x, y});
        if (row.size() > best.size())
            best = row;
    }
    return best;
}

// A Turkish locale built from the C library's sources into a folder of its
// own, so the test needs nothing installed system-wide beyond the sources.
class TurkishLocale {
public:
    TurkishLocale()
    {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("tr_TR"), QStringLiteral("-f"),
                                                      QStringLiteral("UTF-8"), dir_.filePath(QStringLiteral("tr_TR.UTF-8"))});
        built_ = localedef.waitForFinished(120000) && localedef.exitStatus() == QProcess::NormalExit
                 && QFile::exists(dir_.filePath(QStringLiteral("tr_TR.UTF-8/LC_CTYPE")));
        if (!built_)
            error_ = QString::fromLocal8Bit(localedef.readAllStandardError());
    }
    bool built() const { return built_; }
    QString error() const { return error_; }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env;
        env.insert(QStringLiteral("LOCPATH"), dir_.path());
        env.insert(QStringLiteral("LANG"), QStringLiteral("tr_TR.UTF-8"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("tr_TR.UTF-8"));
        return env;
    }

private:
    QTemporaryDir dir_;
    bool built_ = false;
    QString error_;
};

class Features : public CodeBoxTest {
protected:
    // A run that touches white: press the start spot, then go to the nearest wall.
    void dieOn(const QImage& level)
    {
        const auto start = centreOf(level, rgbOf(ColorStart));
        ASSERT_TRUE(start);
        const auto toWall = findRoute(level, *start, {rgbOf(ColorInfo), rgbOf(ColorStart)}, 1, [&](QPoint p) {
            return (level.pixel(p) & 0xFFFFFF) == (rgbOf(ColorWall) & 0xFFFFFF);
        });
        ASSERT_TRUE(toWall) << "no wall to touch";
        pressAt(*start);
        x.moveAlong(onScreen(everyNth(*toWall, 3)));
    }

    // A run from the start spot to the goal with the button held.
    void win(const QImage& level) { ASSERT_TRUE(walkToGoalOf(level)) << "no way from the start to the goal"; }
};

TEST_F(Features, ASavedGameContinuesWithItsDeathsAfterARestart)
{
    GameHome home;
    const QImage level1 = picture(QStringLiteral("level-01"));
    const QImage level2 = picture(QStringLiteral("level-02"));
    QImage twoDeaths; // the deaths line as the first run shows it
    {
        RunningGame game(x, home);
        ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
        pressAt(spotOf(menu, ColorNewGame));
        ASSERT_TRUE(showsPicture(level1)) << "level 1 not on screen";
        ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";

        for (int death = 1; death <= 2; ++death) {
            const QImage before = client().copy(DeathCount);
            ASSERT_NO_FATAL_FAILURE(dieOn(level1));
            ASSERT_TRUE(waitUntil([&] { return client().copy(DeathCount) != before; }, StepTimeoutMs))
                << "death " << death << " not counted";
        }
        twoDeaths = client().copy(DeathCount);

        ASSERT_NO_FATAL_FAILURE(win(level1));
        ASSERT_TRUE(showsPicture(level2)) << "level 2 not on screen";
        EXPECT_TRUE(waitUntil([&] { return fileText(home.storeFile()) == savedFile(2, 2); }, StepTimeoutMs))
            << "store file: " << fileText(home.storeFile()).toStdString();

        // Closing the window ends the program normally.
        ASSERT_TRUE(requestClose(x, windowId));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs)) << "closing the window did not end the program";
        EXPECT_EQ(game.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(game.process().exitCode(), 0);
    }

    RunningGame again(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(again));
    EXPECT_NE(client().copy(DeathCount), twoDeaths) << "a new start should count no deaths yet";

    pressAt(spotOf(menu, ColorContinue));
    ASSERT_TRUE(showsPicture(level2)) << "level 2 not continued; differences: " << differences(client(), level2);
    ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";
    EXPECT_TRUE(waitUntil([&] { return client().copy(DeathCount) == twoDeaths; }, StepTimeoutMs))
        << "the deaths line does not show the two saved deaths";
    EXPECT_EQ(fileText(home.storeFile()), savedFile(2, 2));
}

// A store the player filled to exactly the size the game reads, its save
// first: continue shows the saved level, the save that would push the file
// past that size is refused with one box, and the next start still
// continues the saved level with its deaths.
TEST_F(Features, AStoreAtItsSizeLimitKeepsTheSavedLevel)
{
    GameHome home;
    const QByteArray store = test::paddedStore(savedFile(3, 9).toUtf8(), platform::LargestStore);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storeFile()).path()));
    {
        QFile file(home.storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(store), store.size());
    }
    const QImage level3 = picture(QStringLiteral("level-03"));
    // The game's message boxes on screen: Qt keeps a closed box's window, hidden.
    const auto shownBoxes = [&] {
        const auto found = x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                      QStringLiteral("^Zigwalk$")});
        return found ? found->split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
    };
    QImage nineDeaths;
    {
        RunningGame game(x, home);
        ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
        pressAt(spotOf(menu, ColorContinue));
        ASSERT_TRUE(showsPicture(level3)) << "level 3 not continued; differences: " << differences(client(), level3);
        ASSERT_TRUE(frameRestsInCentre());
        ASSERT_TRUE(waitUntil([&] { return hasText(client().copy(DeathCount)); }, StepTimeoutMs));
        nineDeaths = client().copy(DeathCount);

        // The first death saves 3 and 9 again; the second would save 3 and
        // 10, one byte more, and is told; the third is not told again.
        for (int death = 1; death <= 3; ++death) {
            const QImage before = client().copy(DeathCount);
            ASSERT_NO_FATAL_FAILURE(dieOn(level3));
            if (death == 2) {
                QStringList boxes;
                ASSERT_TRUE(waitUntil([&] { return !(boxes = shownBoxes()).isEmpty(); }, StepTimeoutMs))
                    << "the refused save was not told";
                x.xdotool({QStringLiteral("windowfocus"), boxes.front()});
                x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
                ASSERT_TRUE(waitUntil([&] { return shownBoxes().isEmpty(); }, StepTimeoutMs))
                    << "the box did not close";
            }
            ASSERT_TRUE(waitUntil([&] { return client().copy(DeathCount) != before; }, StepTimeoutMs))
                << "death " << death << " not counted";
        }
        EXPECT_TRUE(shownBoxes().isEmpty()) << "told more than once";
        ASSERT_TRUE(requestClose(x, windowId));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs));
    }
    EXPECT_LE(QFileInfo(home.storeFile()).size(), platform::LargestStore);
    {
        QFile file(home.storeFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == store) << "the store changed";
    }

    RunningGame again(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(again));
    pressAt(spotOf(menu, ColorContinue));
    ASSERT_TRUE(showsPicture(level3)) << "level 3 not continued after the restart";
    EXPECT_TRUE(waitUntil([&] { return client().copy(DeathCount) == nineDeaths; }, StepTimeoutMs))
        << "the deaths line does not show the nine saved deaths";
    EXPECT_TRUE(shownBoxes().isEmpty()) << "continue showed a box";
}

TEST_F(Features, TheHomePageLinkOpensTheMakersPage)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    EXPECT_TRUE(home.opened().isEmpty());

    pressAt(homePageSpot());
    ASSERT_TRUE(waitUntil([&] { return !home.opened().isEmpty(); }, StepTimeoutMs)) << "the browser was not asked";
    for (const QString& address : home.opened())
        EXPECT_EQ(address, HomePage);

    // Without a press on the start spot first, the link only opens the page.
    EXPECT_FALSE(codeBoxShown());
    EXPECT_TRUE(showsPicture(menu));
}

TEST_F(Features, ClickingTheStatusLineSwitchesTheMenuLanguage)
{
    const QImage english = picture(QStringLiteral("menu-en"));
    ASSERT_GT(sampledDifferences(menu, english), 0) << "the two menus must look different for this test";
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));

    // Over black the status line shows the version line, wide enough to click.
    x.moveTo(onScreen(spotOf(menu, ColorInfo)));
    ASSERT_TRUE(waitUntil([&] { return hasText(client().copy(StatusLine)); }, StepTimeoutMs))
        << "the status line got no text";
    const QImage czechLine = client().copy(StatusLine);
    // Clicks some way apart, so that no two of them make a double click.
    const QPoint first = StatusLine.topLeft() + QPoint(12, 6);
    const QPoint second = first + QPoint(30, 0);
    const QPoint third = second + QPoint(30, 0);

    pressAt(first);
    ASSERT_TRUE(showsPicture(english)) << "English menu not on screen; differences: " << differences(client(), english);
    EXPECT_TRUE(waitUntil([&] { return client().copy(StatusLine) != czechLine; }, StepTimeoutMs))
        << "the status line stayed Czech";

    pressAt(second);
    ASSERT_TRUE(showsPicture(menu)) << "Czech menu not back; differences: " << differences(client(), menu);
    EXPECT_TRUE(waitUntil([&] { return client().copy(StatusLine) == czechLine; }, StepTimeoutMs))
        << "the status line is not Czech again";

    // Two quick clicks are two switches, there and back. The hover after them
    // is handled only once they are, so when the frame has reached the
    // new-game item the menu shown is their result.
    x.moveTo(onScreen(third));
    x.xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
               QStringLiteral("80"), QStringLiteral("1")});
    x.moveTo(onScreen(spotOf(menu, ColorNewGame)));
    ASSERT_TRUE(waitUntil([&] { return client().pixel(288, 130) == Yellow; }, StepTimeoutMs))
        << "the frame did not move to the new-game item";
    EXPECT_EQ(differences(client(), menu), 0) << "a quick second click was lost";
}

TEST_F(Features, ALevelCodeInTheHiddenBoxJumpsToItsLevel)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));

    // The box hides behind the link, right after a press on the logo's red.
    pressAt(spotOf(menu, ColorStart));
    EXPECT_FALSE(codeBoxShown());
    pressAt(homePageSpot());
    ASSERT_TRUE(waitUntil([&] { return codeBoxShown(); }, StepTimeoutMs)) << "the code box did not appear";
    EXPECT_TRUE(waitUntil([&] { return home.opened() == QStringList{HomePage}; }, StepTimeoutMs))
        << "the link should open the page as well";

    // The prompt is selected, so typing replaces it; the code is read in any case.
    x.xdotool({QStringLiteral("windowfocus"), windowId});
    typeCode(QStringLiteral("owl"));

    const QImage level8 = picture(QStringLiteral("level-08"));
    ASSERT_TRUE(showsPicture(level8)) << "level 8 not on screen; differences: " << differences(client(), level8);
    EXPECT_FALSE(codeBoxShown());
    EXPECT_EQ(fileText(home.storeFile()), savedFile(8, 0));
}

// A player who keeps the button down and drags along the link on a level
// gets the home page once; the next press opens it again.
TEST_F(Features, OneHeldDragAlongTheLinkOpensThePageOnce)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    const QImage level1 = picture(QStringLiteral("level-01"));
    pressAt(spotOf(menu, ColorNewGame));
    ASSERT_TRUE(showsPicture(level1)) << "level 1 not on screen";
    ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";

    const std::vector<QPoint> link = linkRow(level1);
    ASSERT_GT(link.size(), 20u) << "no link letters on level 1";
    x.moveTo(onScreen(link.front()));
    x.buttonDown();
    x.moveAlong(onScreen(everyNth(link, 2)));
    x.moveAlong(onScreen(everyNth(std::vector<QPoint>(link.rbegin(), link.rend()), 2)));
    x.buttonUp();
    ASSERT_TRUE(waitUntil([&] { return !home.opened().isEmpty(); }, StepTimeoutMs)) << "the drag opened no page";
    ASSERT_NO_FATAL_FAILURE(settle(level1));
    // Stand-ins started by a late event would still be writing: give them the time.
    EXPECT_FALSE(waitUntil([&] { return home.opened().size() > 1; }, 2000))
        << "one drag opened the page " << home.opened().size() << " times";

    pressAt(link[link.size() / 2]);
    EXPECT_TRUE(waitUntil([&] { return home.opened().size() == 2; }, StepTimeoutMs))
        << "the next press did not open the page again; opened " << home.opened().size();
    EXPECT_FALSE(waitUntil([&] { return home.opened().size() > 2; }, 2000));
    for (const QString& address : home.opened())
        EXPECT_EQ(address, HomePage);
}

// Under a Turkish locale a lower-case "i" upper-cases to a dotted capital;
// the codes with an I must still take lower case.
TEST_F(Features, ALowerCaseCodeWorksUnderATurkishLocale)
{
    const TurkishLocale turkish;
    ASSERT_TRUE(turkish.built()) << "localedef failed: " << turkish.error().toStdString();
    GameHome home;
    RunningGame game(x, home, {gameProgram()}, turkish.environment());
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    ASSERT_NO_FATAL_FAILURE(openCodeBox(home));

    typeCode(QStringLiteral("quilt"));
    const QImage level2 = picture(QStringLiteral("level-02"));
    ASSERT_TRUE(showsPicture(level2)) << "level 2 not on screen; differences: " << differences(client(), level2);
    EXPECT_EQ(fileText(home.storeFile()), savedFile(2, 0));
}

// Twenty thousand characters typed as fast as the keyboard can send them
// (a box that laid out all it was given would keep the game deaf to the
// mouse for seconds): the game answers the next hover, the box holds no
// more than 64 of them, and a code typed afterwards still works.
TEST_F(Features, TheCodeBoxTakesAFloodOfTypingAndTheGameAnswersAtOnce)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    ASSERT_NO_FATAL_FAILURE(openCodeBox(home));

    // In parts, each well inside the time one xdotool call is given.
    const QString flood = QStringLiteral("floodtext").repeated(2223).left(20000);
    for (int from = 0; from < flood.size(); from += 2000)
        ASSERT_TRUE(x.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("0"), flood.mid(from, 2000)}))
            << "xdotool could not type";
    // The frame rests around the link item; a hover on the new-game item
    // moves it there.
    x.moveTo(onScreen(spotOf(menu, ColorNewGame)));
    EXPECT_TRUE(waitUntil([&] { return client().pixel(288, 130) == Yellow; }, StepTimeoutMs))
        << "the frame did not move to the new-game item after the typing";

    // The box kept no more than it holds: 64 backspaces empty it, and a
    // code typed then is the whole text.
    x.xdotool({QStringLiteral("key"), QStringLiteral("--repeat"), QStringLiteral("64"), QStringLiteral("--delay"),
               QStringLiteral("5"), QStringLiteral("BackSpace")});
    typeCode(QStringLiteral("owl"));
    const QImage level8 = picture(QStringLiteral("level-08"));
    EXPECT_TRUE(showsPicture(level8)) << "level 8 not on screen; differences: " << differences(client(), level8);
}

// A store the player shares with notes of their own, in the shapes that a
// cut-short file, a Windows path, an old Mac editor, a stray quote and long
// notes leave: the game saves into it through a whole game (a new game, a
// death, a won level), every byte that is not one of its values stays as it
// was, and a restart continues at the saved level with the saved deaths.
struct CraftedStore {
    const char* name;
    QByteArray before;
    QByteArray after; // after level 2 was reached with one death
};

std::ostream& operator<<(std::ostream& out, const CraftedStore& store) { return out << store.name; }

QByteArray longNotes()
{
    QByteArray notes = "; my notes\n[Notes]\n";
    for (int i = 0; notes.size() < 200 * 1024; ++i)
        notes += "line" + QByteArray::number(i) + " = \"quoted\" \\ and more text to fill the store\n";
    return notes;
}

const CraftedStore CraftedStores[] = {
    {"CutShortOnAnEmptyValue", "[Audio]\r\nvolume=80\r\n\r\n[SaveGame]\r\nSaw1=5\r\nSaw2=",
     "[Audio]\r\nvolume=80\r\n\r\n[SaveGame]\r\nSaw1=2\r\nSaw2=1\r\nSaw3=3\r\nSaw4=1"},
    {"ABackslashEndsTheSection", "[Paths]\nx=1\n[SaveGame]\nSaw1=2\nmypath=C:\\Games\\",
     "[Paths]\nx=1\n[SaveGame]\nSaw1=2\nmypath=C:\\Games\\\nSaw2=1\nSaw3=3\nSaw4=1"},
    {"ABackslashAfterTheSectionName", "[Audio]\nvolume=80\n[SaveGame]\\",
     "[Audio]\nvolume=80\n[SaveGame]\\\n\n[SaveGame]\nSaw1=2\nSaw2=1\nSaw3=3\nSaw4=1\n"},
    {"OldMacLineEndsAfterABackslash", "[Audio]\rvolume=80\rpath=C:\\\r",
     "[Audio]\rvolume=80\rpath=C:\\\r\r[SaveGame]\rSaw1=2\rSaw2=1\rSaw3=3\rSaw4=1\r"},
    {"AnUnbalancedQuote",
     "[Monitor]\nlabel=27\" monitor\n[SaveGame]\nSaw1=7\nSaw2=3\nSaw3=10\nSaw4=3\n[After]\n; note\nk=v\n",
     "[Monitor]\nlabel=27\" monitor\n[SaveGame]\nSaw1=2\nSaw2=1\nSaw3=3\nSaw4=1\n[After]\n; note\nk=v\n"},
    {"LongNotes", longNotes() + "[SaveGame]\nSaw1=3\nSaw2=0\nSaw3=3\nSaw4=0\n[Tail]\nk=v",
     longNotes() + "[SaveGame]\nSaw1=2\nSaw2=1\nSaw3=3\nSaw4=1\n[Tail]\nk=v"},
};

class CraftedStoreGame : public Features, public ::testing::WithParamInterface<CraftedStore> {};

TEST_P(CraftedStoreGame, SavesChangeOnlyTheGamesValuesAndContinueReadsThem)
{
    GameHome home;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storeFile()).path()));
    {
        QFile store(home.storeFile());
        ASSERT_TRUE(store.open(QIODevice::WriteOnly));
        ASSERT_EQ(store.write(GetParam().before), GetParam().before.size());
    }
    const QImage level1 = picture(QStringLiteral("level-01"));
    const QImage level2 = picture(QStringLiteral("level-02"));
    QImage oneDeath;
    {
        RunningGame game(x, home);
        ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
        pressAt(spotOf(menu, ColorNewGame));
        ASSERT_TRUE(showsPicture(level1)) << "level 1 not on screen";
        ASSERT_TRUE(frameRestsInCentre());
        const QImage before = client().copy(DeathCount);
        ASSERT_NO_FATAL_FAILURE(dieOn(level1));
        ASSERT_TRUE(waitUntil([&] { return client().copy(DeathCount) != before; }, StepTimeoutMs)) << "no death";
        oneDeath = client().copy(DeathCount);
        ASSERT_NO_FATAL_FAILURE(win(level1));
        ASSERT_TRUE(showsPicture(level2)) << "level 2 not on screen";
        EXPECT_TRUE(waitUntil([&] { return fileText(home.storeFile()).toUtf8() == GetParam().after; }, StepTimeoutMs))
            << "store file: " << fileText(home.storeFile()).left(400).toStdString();
        ASSERT_TRUE(requestClose(x, windowId));
        ASSERT_TRUE(game.process().waitForFinished(StepTimeoutMs));
    }

    RunningGame again(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(again));
    pressAt(spotOf(menu, ColorContinue));
    ASSERT_TRUE(showsPicture(level2)) << "level 2 not continued; differences: " << differences(client(), level2);
    EXPECT_TRUE(waitUntil([&] { return client().copy(DeathCount) == oneDeath; }, StepTimeoutMs))
        << "the deaths line does not show the saved death";
    // Continuing saves the values it read: the file is the same, byte for byte.
    QFile store(home.storeFile());
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CraftedStoreGame, ::testing::ValuesIn(CraftedStores),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::e2e
