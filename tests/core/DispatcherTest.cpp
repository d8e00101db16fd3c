// The twelve mouse rules: which colour, which buttons, which state.

#include "GameHarness.h"

#include <functional>

namespace zw::test {
namespace {

class Dispatcher : public GameTest {
protected:
    void event(bool down, Colour colour, std::int16_t buttons)
    {
        if (down)
            press(colour, buttons);
        else
            move(colour, buttons);
    }
};

// The rules that ask for the left button alone, on a press and on a move.
TEST_F(Dispatcher, LeftButtonRulesFireOnlyForTheLeftButtonAlone)
{
    const struct {
        const char* rule;
        Colour colour;
        std::function<void(GameState&)> setUp;
        std::function<bool(const Game&, const TestPlatform&)> fired;
    } rules[] = {
        {"continue", ColorContinue, {}, [](const Game&, const TestPlatform& p) { return !p.settingsApps.isEmpty(); }},
        {"new game", ColorNewGame, {}, [](const Game& g, const TestPlatform&) { return g.state().InGame == True; }},
        {"quit", ColorQuit, {}, [](const Game& g, const TestPlatform&) { return g.ended(); }},
        {"link", ColorLink, {}, [](const Game&, const TestPlatform& p) { return !p.opened.isEmpty(); }},
        {"start", ColorStart, {}, [](const Game& g, const TestPlatform&) { return g.state().Running == True; }},
        {"goal", ColorGoal, [](GameState& st) { st.Level = 4; st.Running = True; },
         [](const Game& g, const TestPlatform&) { return g.state().Level == 5.0f; }},
        {"menu", ColorMenu, [](GameState& st) { st.Level = 4; },
         [](const Game& g, const TestPlatform&) { return g.state().Level == 0.0f; }},
    };
    for (const auto& rule : rules)
        for (bool down : {true, false})
            for (std::int16_t buttons : {0, 1, 2, 3, 4, 5}) {
                TestPlatform p;
                Game g(p, [] { return std::make_unique<PictureStore>(&fixturePicture); });
                g.Form_Load();
                if (rule.setUp)
                    rule.setUp(g.state());
                const QPointF at = spotOf(rule.colour);
                if (down)
                    g.Form_MouseDown(buttons, 0, float(at.x()), float(at.y()));
                else
                    g.Form_MouseMove(buttons, 0, float(at.x()), float(at.y()));
                EXPECT_EQ(rule.fired(g, p), buttons == 1)
                    << rule.rule << (down ? " press" : " move") << " buttons " << buttons;
            }
}

// The hover rules, black and white react to any buttons except where the
// left button alone starts something else first.
TEST_F(Dispatcher, HoverRulesFireWithAnyButtons)
{
    const struct { Colour colour; std::uint8_t mode; int item; } hovers[] = {
        {ColorContinue, 1, 1}, {ColorNewGame, 2, 2}, {ColorQuit, 3, 3}, {ColorLink, 4, 0},
    };
    for (const auto& hover : hovers)
        for (std::int16_t buttons : {0, 2, 3}) {
            for (bool down : {true, false}) {
                load();
                s.FrameMode = 6;
                c.Timer1Enabled = false;
                event(down, hover.colour, buttons);
                EXPECT_EQ(s.FrameMode, hover.mode) << hover.colour << " buttons " << buttons;
                EXPECT_TRUE(c.Timer1Enabled);
                EXPECT_EQ(c.Label1Caption, s.Texts(0, hover.item));
            }
        }
}

TEST_F(Dispatcher, BlackShowsTheVersionLineAndChangesNothingElse)
{
    for (std::int16_t buttons : {0, 1, 2, 3}) {
        load();
        c.Label1Caption = QStringLiteral("before");
        const GameState before = s;
        move(ColorInfo, buttons);
        EXPECT_EQ(c.Label1Caption, QStringLiteral("v1.0.          Id.:25210          >>> CZ"));
        EXPECT_EQ(s.FrameMode, before.FrameMode);
        EXPECT_EQ(s.Level, before.Level);
        EXPECT_EQ(s.Running, before.Running);
        EXPECT_FALSE(c.Timer1Enabled);
        EXPECT_EQ(c.Cursor, PointerPicture::Picture2);
    }
    c.Label1Caption = QStringLiteral("before");
    game.Form_MouseMove(0, 0, 300, 488); // the strip below the picture is black too
    EXPECT_EQ(c.Label1Caption, s.Texts(0, 7));
}

TEST_F(Dispatcher, WallEndsTheRunWithAnyButtons)
{
    for (std::int16_t buttons : {0, 1, 2, 3}) {
        standOnLevel(2);
        startRun();
        move(ColorWall, buttons);
        EXPECT_EQ(s.Running, False) << buttons;
        EXPECT_EQ(s.Deaths, 1.0f) << buttons;
    }
}

TEST_F(Dispatcher, QuitEndsTheEventAtOnce)
{
    platform.addMusic();
    load();
    s.Running = True; // UpdateCursor would make the run live and change the pointer
    const auto queries = game.colourQueries();
    move(ColorQuit, 1);
    EXPECT_TRUE(game.ended());
    EXPECT_EQ(platform.ends, 1);
    EXPECT_EQ(game.colourQueries() - queries, 4u); // rules 1 to 4, nothing after
    EXPECT_EQ(s.Live, False);
    EXPECT_EQ(c.Cursor, PointerPicture::Picture1);
    EXPECT_EQ(platform.mci, QStringList{QStringLiteral("Play music.mid")}); // no stop: not an unload
}

TEST_F(Dispatcher, ContinuePressSkipsTheHoverRules)
{
    load();
    move(ColorNewGame); // status line shows the new-game text
    tick(10);
    press(ColorContinue);
    EXPECT_EQ(s.Level, 1.0f);
    EXPECT_EQ(s.FrameMode, 5);                    // the frame did not turn to the continue item
    EXPECT_EQ(c.Label1Caption, s.Texts(0, 2));    // and the status line kept its text
}

TEST_F(Dispatcher, AsksForTheColourBeforeEveryRule)
{
    const struct { std::uint8_t frameMode; Colour colour; unsigned queries; } cases[] = {
        {1, Inert, 14}, {6, ColorWall, 14}, {5, Inert, 10}, {5, ColorContinue, 10},
    };
    for (const auto& row : cases) {
        load();
        s.FrameMode = row.frameMode;
        const auto before = game.colourQueries();
        move(row.colour, 2);
        EXPECT_EQ(game.colourQueries() - before, row.queries) << int(row.frameMode);
    }
    // A continue press starts a level change inside the event: the hover rules drop out.
    load();
    s.FrameMode = 1;
    const auto before = game.colourQueries();
    press(ColorContinue);
    EXPECT_EQ(game.colourQueries() - before, 10u);
}

// Only the menu (Level below 1) moves the frame to the link; from level 1
// on the link shows the home-page line and nothing more.
TEST_F(Dispatcher, LinkMovesTheFrameOnlyOnTheMenu)
{
    const struct { int level; bool moves; } cases[] = {{0, true}, {1, false}, {3, false}, {20, false}, {21, false}};
    for (const auto& row : cases) {
        standOnLevel(row.level);
        c.Timer1Enabled = false;
        move(ColorLink);
        EXPECT_EQ(c.Label1Caption, s.Texts(0, 0)) << row.level;
        EXPECT_EQ(s.FrameMode, row.moves ? 4 : 6) << row.level;
        EXPECT_EQ(c.Timer1Enabled, row.moves) << row.level;
    }
}

// Continue or new game pressed during a live run ends that run: the next
// level is not entered live, and a wall there costs nothing.
TEST_F(Dispatcher, ContinueOrNewGameDuringALiveRunEndsIt)
{
    platform.settings = {{QStringLiteral("SaveGame/Saw1"), QStringLiteral("4")},
                         {QStringLiteral("SaveGame/Saw2"), QStringLiteral("3")},
                         {QStringLiteral("SaveGame/Saw3"), QStringLiteral("7")},
                         {QStringLiteral("SaveGame/Saw4"), QStringLiteral("3")}};
    const struct { const char* item; Colour colour; float level; float deaths; } cases[] = {
        {"continue", ColorContinue, 4, 3},
        {"new game", ColorNewGame, 1, 0},
    };
    for (const auto& row : cases) {
        for (int from : {0, 5}) {
            standOnLevel(from, 2);
            startRun();
            ASSERT_EQ(s.Live, True);
            press(row.colour);
            EXPECT_EQ(s.Level, row.level) << row.item << " from " << from;
            EXPECT_EQ(s.Running, False) << row.item << " from " << from;
            EXPECT_EQ(s.Live, False) << row.item << " from " << from;
            EXPECT_EQ(c.Cursor, PointerPicture::Picture2) << row.item << " from " << from;

            tick(30);
            ASSERT_EQ(shown(), int(row.level));
            const int beeps = platform.beeps;
            move(ColorWall);
            EXPECT_EQ(platform.beeps, beeps) << row.item << " from " << from;
            EXPECT_EQ(s.Deaths, row.deaths) << row.item << " from " << from;
        }
    }
}

// A drag along the link with the button held opens the page once; the next
// press of the left button may open it again. The game learns of a release
// only from a move without the left button.
TEST_F(Dispatcher, LinkOpensTheHomePageOncePerPressOfTheLeftButton)
{
    const struct {
        const char* step;
        bool down;
        Colour colour;
        std::int16_t buttons;
        int opened; // pages opened so far
    } steps[] = {
        {"press on the link", true, ColorLink, 1, 1},
        {"drag along it", false, ColorLink, 1, 1},
        {"and on", false, ColorLink, 1, 1},
        {"off the link, still held", false, Inert, 1, 1},
        {"back onto it, still held", false, ColorLink, 1, 1},
        {"right button pressed as well", true, ColorLink, 2, 1},
        {"both held", false, ColorLink, 3, 1},
        {"left alone again", false, ColorLink, 1, 1},
        {"released over the link", false, ColorLink, 0, 1},
        {"next press", true, ColorLink, 1, 2},
        {"its drag", false, ColorLink, 1, 2},
        {"released elsewhere", false, Inert, 2, 2},
        {"held move without a press seen", false, ColorLink, 1, 3},
        {"and its drag", false, ColorLink, 1, 3},
        {"a press on black", true, ColorInfo, 1, 3},
        {"dragged onto the link", false, ColorLink, 1, 4},
        {"right-button press on the link", true, ColorLink, 2, 4},
        {"left press after it", true, ColorLink, 1, 5},
    };
    standOnLevel(3);
    for (const auto& step : steps) {
        event(step.down, step.colour, step.buttons);
        EXPECT_EQ(platform.opened.size(), step.opened) << step.step;
    }
    for (const QString& address : platform.opened)
        EXPECT_EQ(address, QStringLiteral("http://www.korvel.example/"));
}

// The code box and the run state still follow every call of the link, also
// the calls that do not open the page again.
TEST_F(Dispatcher, LinkUncoversTheCodeBoxOnAHeldMoveThatOpensNoPage)
{
    load();
    press(ColorLink);
    ASSERT_EQ(platform.opened.size(), 1);
    EXPECT_FALSE(c.Frame1Visible); // no run on: only the page

    // Still the same press: over the start spot and back onto the link.
    move(ColorStart, 1);
    ASSERT_EQ(s.Running, True);
    move(ColorLink, 1);
    EXPECT_EQ(platform.opened.size(), 1);
    EXPECT_TRUE(c.Frame1Visible);
    EXPECT_EQ(c.Text1Text, s.Texts(0, 5));
    EXPECT_EQ(s.Running, False);
}

TEST_F(Dispatcher, GoalWithoutARunDoesNothing)
{
    standOnLevel(2);
    press(ColorGoal);
    move(ColorGoal, 1);
    EXPECT_EQ(s.Level, 2.0f);
    EXPECT_EQ(platform.saves, 0);
}

TEST_F(Dispatcher, RunGoesOnWithTheButtonUpButTheGoalWantsItDown)
{
    standOnLevel(2);
    startRun();
    move(ColorGoal, 0);
    EXPECT_EQ(s.Level, 2.0f);
    EXPECT_EQ(s.Running, True);
    move(ColorGoal, 1);
    EXPECT_EQ(s.Level, 3.0f);
}

TEST_F(Dispatcher, ColoursOutsideTheKeyOnlyPickThePointer)
{
    load();
    s.Running = True;
    const GameState before = s;
    const QString label1 = c.Label1Caption;
    move(Inert, 1);
    game.Form_MouseMove(1, 0, -5, 20);   // left of the window
    game.Form_MouseDown(1, 0, 20, 500);  // below the client area
    EXPECT_EQ(c.Label1Caption, label1);
    EXPECT_EQ(s.Level, before.Level);
    EXPECT_EQ(s.FrameMode, before.FrameMode);
    EXPECT_EQ(s.Live, True); // only the cursor step acted
    EXPECT_EQ(c.Cursor, PointerPicture::Picture1);
    EXPECT_TRUE(platform.log.isEmpty());
}

TEST_F(Dispatcher, BackToTheMenuPress)
{
    standOnLevel(6, 4);
    s.InGame = True;
    press(ColorMenu);
    EXPECT_EQ(c.Label2Caption, QStringLiteral("Hudba     Počet zabití : 0"));
    EXPECT_EQ(s.Deaths, 0.0f);
    EXPECT_EQ(s.InGame, False);
    EXPECT_EQ(s.Level, 0.0f);
}

} // namespace
} // namespace zw::test
