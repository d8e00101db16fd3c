// Keys pressed while the level-code box is hidden, in the real program: once
// the box has been used and has closed, nothing the player types reaches it,
// so no stray Enter can jump the game to another level or save one.

#include "CodeBoxSteps.h"
#include "MazePath.h"
#include "SavedFile.h"
#include "base/Levels.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace zw::e2e {
namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CodeBoxKeys : public CodeBoxTest {
protected:
    // Keys a player may hit by accident, and then a whole code with Enter:
    // had the hidden box kept them, the game would go to level 7.
    void pressStrayKeys()
    {
        x.xdotool({QStringLiteral("windowfocus"), windowId});
        x.xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("Tab"),
                   QStringLiteral("space"), QStringLiteral("BackSpace"), QStringLiteral("a"), QStringLiteral("b")});
        x.xdotool({QStringLiteral("key"), QStringLiteral("--repeat"), QStringLiteral("16"), QStringLiteral("--delay"),
                   QStringLiteral("5"), QStringLiteral("BackSpace")});
        typeCode(QStringLiteral("tundra"));
    }

    // Waits until the game has handled every key sent so far: the pointer
    // goes to the link, then to black, and the game handles events in the
    // order they came, so once the status line turns from the link's text
    // to the version line the keys are behind it.
    void syncWith(const QImage& shown)
    {
        const QImage before = client().copy(StatusLine);
        x.moveTo(onScreen(spotOf(shown, ColorLink)));
        waitUntil([&] { return client().copy(StatusLine) != before; }, 2000); // unless it already showed the link's text
        const QImage overLink = client().copy(StatusLine);
        x.moveTo(onScreen(spotOf(shown, ColorInfo)));
        ASSERT_TRUE(waitUntil([&] { return client().copy(StatusLine) != overLink; }, StepTimeoutMs))
            << "the status line did not turn from the link's text to the version line";
    }

    // The same picture stays, the frame never sweeps to another level, and
    // the store holds what it held.
    void expectNothingChanged(const QImage& shown, const QByteArray& store, const GameHome& home)
    {
        // A level change would sweep the frame out and swap the picture
        // within half a second, and the new picture stays: once the game is
        // known to have handled every key, three times that shows any change
        // the keys made, before the sync or after it.
        ASSERT_NO_FATAL_FAILURE(syncWith(shown));
        EXPECT_FALSE(waitUntil([&] { return differences(client(), shown) != 0; }, 1500))
            << "the keys changed the picture; level 7 shown: " << (differences(client(), level(7)) == 0);
        EXPECT_FALSE(codeBoxShown());
        EXPECT_EQ(fileBytes(home.storeFile()), store);
    }

    void writeStore(const GameHome& home, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(home.storeFile()).absolutePath());
        QFile file(home.storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
};

// A wrong code closes the box; the player starts a new game and plays on to
// level 3, where a BackSpace and an Enter used to turn "emberx" into the
// code of level 18 and save it.
TEST_F(CodeBoxKeys, AWrongCodeLeavesNoTrapForBackSpaceAndEnterLater)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    ASSERT_NO_FATAL_FAILURE(openCodeBox(home));
    typeCode(QStringLiteral("emberx"));
    ASSERT_TRUE(waitUntil([&] { return !codeBoxShown(); }, StepTimeoutMs)) << "the box did not close";
    ASSERT_TRUE(showsPicture(menu)) << "a wrong code should lead back to the menu";

    ASSERT_TRUE(newGame()) << "level 1 not on screen";
    ASSERT_TRUE(walkToGoal(1)) << "level 2 not on screen";
    ASSERT_TRUE(walkToGoal(2)) << "level 3 not on screen";
    ASSERT_TRUE(waitUntil([&] { return fileBytes(home.storeFile()) == savedFile(3, 0).toUtf8(); }, StepTimeoutMs));

    x.xdotool({QStringLiteral("windowfocus"), windowId});
    x.xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("BackSpace"),
               QStringLiteral("Return")});
    ASSERT_NO_FATAL_FAILURE(expectNothingChanged(level(3), savedFile(3, 0).toUtf8(), home));
    EXPECT_NE(differences(client(), level(18)), 0) << "the game swept to level 18";
}

// A right code, two levels played, and a Return: the game used to jump back
// to the code's level and save it over the player's progress.
TEST_F(CodeBoxKeys, ARightCodeIsNotSubmittedAgainByALaterReturn)
{
    GameHome home;
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    ASSERT_NO_FATAL_FAILURE(openCodeBox(home));
    typeCode(QStringLiteral("quilt"));
    ASSERT_TRUE(showsPicture(level(2))) << "level 2 not on screen";
    ASSERT_TRUE(walkToGoal(2)) << "level 3 not on screen";
    ASSERT_TRUE(walkToGoal(3)) << "level 4 not on screen";
    ASSERT_TRUE(waitUntil([&] { return fileBytes(home.storeFile()) == savedFile(4, 0).toUtf8(); }, StepTimeoutMs));

    x.xdotool({QStringLiteral("windowfocus"), windowId});
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_NO_FATAL_FAILURE(expectNothingChanged(level(4), savedFile(4, 0).toUtf8(), home));
}

// Where the player stands when the stray keys come, after a right or a
// wrong code: the menu, a level, the closing screen.
class StrayKeys;

struct AfterTheBox {
    const char* name;
    const char* code;      // typed into the box first
    QByteArray storeAtStart; // empty: no store yet
    // From the screen the code led to, to the place of the test; the picture shown there.
    std::function<QImage(StrayKeys&)> goThere;
};

void PrintTo(const AfterTheBox& c, std::ostream* os) { *os << c.name; }

class StrayKeys : public CodeBoxKeys, public ::testing::WithParamInterface<AfterTheBox> {
public:
    // Steps the cases take, open to the table below.
    bool stepNewGame() { return newGame(); }
    bool stepWalk(int n) { return walkToGoal(n); }
    bool stepBackToMenu(int fromLevel)
    {
        pressAt(spotOf(level(fromLevel), ColorMenu));
        return showsPicture(menu);
    }
    bool stepContinue()
    {
        pressAt(spotOf(menu, ColorContinue));
        return showsPicture(level(LastMaze));
    }
    bool shows(const QImage& picture) { return showsPicture(picture); }
};

TEST_P(StrayKeys, DoNothing)
{
    const AfterTheBox& c = GetParam();
    GameHome home;
    if (!c.storeAtStart.isEmpty()) {
        ASSERT_NO_FATAL_FAILURE(writeStore(home, c.storeAtStart));
    }
    RunningGame game(x, home);
    ASSERT_NO_FATAL_FAILURE(startAtMenu(game));
    ASSERT_NO_FATAL_FAILURE(openCodeBox(home));
    typeCode(QString::fromLatin1(c.code));
    ASSERT_TRUE(waitUntil([&] { return !codeBoxShown(); }, StepTimeoutMs)) << "the box did not close";

    const QImage place = c.goThere(*this);
    ASSERT_FALSE(place.isNull()) << "could not reach the place of the test";
    ASSERT_TRUE(showsPicture(place));
    const QByteArray store = fileBytes(home.storeFile());

    pressStrayKeys();
    ASSERT_NO_FATAL_FAILURE(expectNothingChanged(place, store, home));
    EXPECT_TRUE(game.alive());
}

const QByteArray SavedAtTheLastMaze = savedFile(LastMaze, 0).toUtf8();

INSTANTIATE_TEST_SUITE_P(
    CodeBoxKeys, StrayKeys,
    ::testing::Values(
        AfterTheBox{"WrongCodeOnTheMenu", "emberx", {},
                    [](StrayKeys&) { return picture(QStringLiteral("menu-cs")); }},
        AfterTheBox{"WrongCodeInALevel", "emberx", {},
                    [](StrayKeys& s) {
                        return s.stepNewGame() ? picture(QStringLiteral("level-01")) : QImage();
                    }},
        AfterTheBox{"WrongCodeOnTheClosingScreen", "emberx", SavedAtTheLastMaze,
                    [](StrayKeys& s) {
                        return s.stepContinue() && s.stepWalk(LastMaze) ? picture(QStringLiteral("closing")) : QImage();
                    }},
        AfterTheBox{"RightCodeInALevel", "owl", {},
                    [](StrayKeys& s) {
                        return s.shows(picture(QStringLiteral("level-08"))) ? picture(QStringLiteral("level-08"))
                                                                            : QImage();
                    }},
        AfterTheBox{"RightCodeOnTheMenu", "owl", {},
                    [](StrayKeys& s) {
                        return s.shows(picture(QStringLiteral("level-08"))) && s.stepBackToMenu(8)
                            ? picture(QStringLiteral("menu-cs"))
                            : QImage();
                    }},
        AfterTheBox{"RightCodeOnTheClosingScreen", "red herrings", {},
                    [](StrayKeys&) { return picture(QStringLiteral("closing")); }}),
    [](const ::testing::TestParamInfo<AfterTheBox>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::e2e
