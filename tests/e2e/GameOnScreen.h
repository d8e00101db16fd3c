#pragma once
// The real program on a test's private display, and what a test needs to
// watch and drive its window: the built-in pictures to compare the screen
// with, the window's place on the screen, and presses in window pixels.

#include "XSession.h"

#include "base/ColorKey.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace zw::e2e {

inline constexpr int StepTimeoutMs = 8000;
inline const QRgb Yellow = qRgb(255, 255, 0);

// A key colour as the screen shows it.
QRgb rgbOf(Colour key);

// A picture built into the program, in the screen's pixel format.
QImage picture(const QString& name);

// The game program that the build made.
QString gameProgram();

// A home of the game's own, so the player's saves are never touched: HOME,
// the settings folder, and a folder of stand-in programs put first on the
// PATH. The stand-in xdg-open notes every address it is given in a file
// instead of starting a browser, so no test ever opens a real page. The home
// is also the game's runtime folder, where it looks for a sound server: only
// a test's own server is ever found there, and none is ever started for it.
class GameHome {
public:
    GameHome();

    QString path() const { return dir_.path(); }
    QString storeFile() const; // the settings store, as the game writes it
    QStringList opened() const; // every address given to the browser, in order

private:
    QString openedFile() const;
    QTemporaryDir dir_;
};

// The game running on the session's display in the given home, with any
// further variables of its environment (a locale, say). A game that is still
// running at the end is killed. The command is the game program, or a command
// that runs it (another copy of it, or it inside a wrapper).
class RunningGame {
public:
    RunningGame(const XSession& x, const GameHome& home, const QStringList& command = {gameProgram()},
                const QProcessEnvironment& extra = {}, const QString& workingDirectory = {});
    ~RunningGame();
    QProcess& process() { return process_; }
    // Still running: not ended, crashed or killed.
    bool alive();

private:
    QProcess process_;
};

// A test of the real window: skips without Xvfb and xdotool.
class GameScreenTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Waits for the game's window (640 x 496, named windowTitle) and notes
    // its id and place. A compositor's windows are found by their pixels.
    virtual bool findWindow();
    QString windowTitle = QStringLiteral("Zig-walk"); // a pack names itself after it

    // The client area as the screen shows it now.
    virtual QImage client() const { return x.screen().copy(window); }

    // How many of every 5th picture pixel the screen shows differently. The
    // yellow frame may lie anywhere over the picture, so yellow is let pass.
    static int differences(const QImage& shown, const QImage& expected);
    bool showsPicture(const QImage& expected, int timeoutMs = StepTimeoutMs) const;

    // Waits until the frame has shrunk to the window's centre after a sweep,
    // so that none of its edges crosses the strip below the picture.
    bool frameRestsInCentre() const;

    QPoint onScreen(QPoint inWindow) const { return window.topLeft() + inWindow; }
    std::vector<QPoint> onScreen(const std::vector<QPoint>& inWindow) const;

    // A left click at a point of the window.
    void pressAt(QPoint inWindow) const;

    // A run on the picture shown: press its start spot and walk its widest
    // way to the goal with the button held. False when it has no such way.
    bool walkToGoalOf(const QImage& shown) const;

    // Once the frame rests after a level change, the run above on the level
    // shown; fails the test where either does not happen.
    void walkLevel(const QImage& level) const
    {
        ASSERT_TRUE(frameRestsInCentre()) << "the frame did not come to rest in the centre";
        ASSERT_TRUE(walkToGoalOf(level)) << "no way from the start to the goal";
    }

    // The game started in home on arguments it must refuse: its message box
    // seen and closed with Return, its end awaited, and what it said.
    // The box is waited for up to a minute: a refusal under load can be slow,
    // and how slow is for the test to judge (boxAfterMs).
    struct Refusal {
        bool boxShown = false;
        qint64 boxAfterMs = -1; // from the program's start to its message box
        QImage shot;     // the screen while the box was up
        bool ended = false;
        int exitCode = -1;
        QString stderrText;
    };
    Refusal startRefused(const GameHome& home, const QStringList& args) const;

    XSession x;
    QString windowId;
    QRect window;
};

} // namespace zw::e2e
