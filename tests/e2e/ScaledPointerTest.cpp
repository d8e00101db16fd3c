// What the player sees is what counts, at every desktop scale: the real
// program on an X display scaled by Xft.dpi or QT_SCALE_FACTOR, the pointer
// moved by real pointer moves across the rows and columns where the colours
// change, and for every screen pixel the pointer reached, the colour the rules
// read there (the game tells it when ZIGWALK_TRACE_POINTER is set) is the
// colour on the screenshot. The picture must also stay sharp: every screen
// pixel it covers is one of its own colours. The same on Wayland: the game as
// a client of a weston nested in the X display, its output at scale 1 and 2,
// the pointer moved through the compositor.

#include "GameOnScreen.h"
#include "WestonSession.h"

#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QSet>
#include <QTextStream>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>

namespace zw::e2e {
namespace {

// A quick player's press: how long the button is held, not a wait for anything.
constexpr int PressHoldMs = 80;

struct Scaling {
    const char* name;
    int xftDpi;             // 0: no Xft.dpi resource
    const char* qtScale;    // nullptr: no QT_SCALE_FACTOR
    int westonScale = 0;    // 0: the game on X; else on Wayland, weston's output at this scale
};

std::ostream& operator<<(std::ostream& out, const Scaling& s) { return out << s.name; }

QRgb plain(QRgb c) { return c & 0xFFFFFF; }

// The colours a screen line shows, and where it changes colour: the pixels
// within two of a change are where a reading off by a pixel would show.
std::vector<QPoint> pixelsNearEdges(const QImage& shot, QPoint from, QPoint step, int count)
{
    std::vector<QPoint> near;
    QSet<int> taken;
    auto take = [&](int i) {
        if (i >= 0 && i < count && !taken.contains(i)) {
            taken.insert(i);
            near.push_back(from + step * i);
        }
    };
    take(0);
    take(count - 1);
    for (int i = 1; i < count; ++i) {
        const QPoint a = from + step * (i - 1), b = from + step * i;
        if (plain(shot.pixel(a)) != plain(shot.pixel(b)))
            for (int k = i - 3; k <= i + 2; ++k)
                take(k);
    }
    std::sort(near.begin(), near.end(), [&](QPoint p, QPoint q) { return p.x() + p.y() < q.x() + q.y(); });
    return near;
}

// The row (or with `column`, the column) of the picture area with the most
// colour changes, looked for on every 7th line.
int busiestLine(const QImage& shot, QSize picture, bool column)
{
    int best = 0, bestChanges = -1;
    const int lines = column ? picture.width() : picture.height();
    const int length = column ? picture.height() : picture.width();
    for (int l = 3; l < lines; l += 7) {
        int changes = 0;
        for (int i = 1; i < length; ++i) {
            const QPoint a = column ? QPoint(l, i - 1) : QPoint(i - 1, l);
            const QPoint b = column ? QPoint(l, i) : QPoint(i, l);
            changes += plain(shot.pixel(a)) != plain(shot.pixel(b));
        }
        if (changes > bestChanges) {
            bestChanges = changes;
            best = l;
        }
    }
    return best;
}

class ScaledPointer : public ::testing::TestWithParam<Scaling> {
protected:
    void SetUp() override
    {
        QStringList missing = missingTools();
        if (QStandardPaths::findExecutable(QStringLiteral("xrdb")).isEmpty())
            missing << QStringLiteral("xrdb");
        if (!missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.join(QStringLiteral(", ")).toStdString();
    }

    // The screen as it shows the window. On Wayland the compositor draws its
    // pointer into the screen, so the pointer first goes to rest on the
    // compositor's panel, where no window is ever placed.
    QImage shot() const
    {
        if (weston)
            x->moveTo(QPoint(WestonSession::OutputWidth / 2, 10));
        return x->screen().copy(window);
    }

    // What the rules read at each screen pixel the trace names so far.
    std::map<std::pair<int, int>, QRgb> traced() const
    {
        std::map<std::pair<int, int>, QRgb> read;
        QFile file(traceFile);
        if (!file.open(QIODevice::ReadOnly))
            return read;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QStringList parts = in.readLine().split(QLatin1Char(' '));
            if (parts.size() != 4 || parts[0] != QLatin1String("zigwalk-pointer"))
                continue;
            const int key = parts[3].toInt(nullptr, 16); // &HBBGGRR
            read[{window.x() + parts[1].toInt(), window.y() + parts[2].toInt()}] = rgbOf(key) & 0xFFFFFF;
        }
        return read;
    }

    // Moves the pointer over these screen pixels one by one and returns what
    // the rules read at each pixel the window heard about. The moves end on
    // a pixel of the picture near its corner, where the window always hears
    // the pointer: once the trace names it, every move before it was heard
    // (a window may merge moves, never reorder them).
    std::map<std::pair<int, int>, QRgb> readAlong(std::vector<QPoint> pixels)
    {
        QFile::resize(traceFile, 0);
        QPoint mark = window.topLeft() + QPoint(2, 2);
        if (!pixels.empty() && pixels.back() == mark)
            mark += QPoint(1, 1);
        const bool markProbed = std::find(pixels.begin(), pixels.end(), mark) != pixels.end();
        pixels.push_back(mark);
        x->moveAlong(pixels);
        std::map<std::pair<int, int>, QRgb> read;
        EXPECT_TRUE(waitUntil([&] { return (read = traced()).count({mark.x(), mark.y()}) > 0; }, StepTimeoutMs))
            << "the window never heard the pointer's last move";
        if (!markProbed)
            read.erase({mark.x(), mark.y()});
        return read;
    }

    // Probes the busiest row and column of the picture, the last row and
    // column of the picture and a row through the strip; counts the screen
    // pixels whose read colour differs from the drawn one.
    int mismatches(const QString& what, int& probed)
    {
        const QImage shot = this->shot();
        const QSize pictureOnScreen(window.width(), int(std::lround(480 * scale)));
        const int row = busiestLine(shot, pictureOnScreen, false);
        const int column = busiestLine(shot, pictureOnScreen, true);
        struct Line { QPoint from, step; int count; };
        const Line lines[] = {
            {{0, row}, {1, 0}, window.width()},
            {{column, 0}, {0, 1}, window.height()},
            {{0, pictureOnScreen.height() - 1}, {1, 0}, window.width()},
            {{window.width() - 1, 0}, {0, 1}, pictureOnScreen.height()},
            {{0, window.height() - 3}, {1, 0}, window.width()},
        };
        int wrong = 0;
        for (const Line& line : lines) {
            std::vector<QPoint> pixels = pixelsNearEdges(shot, line.from, line.step, line.count);
            for (QPoint& p : pixels)
                p += window.topLeft();
            const auto read = readAlong(pixels);
            for (const auto& [where, colour] : read) {
                const QPoint inWindow = QPoint(where.first, where.second) - window.topLeft();
                if (!shot.rect().contains(inWindow))
                    continue;
                const QRgb drawn = plain(shot.pixel(inWindow));
                if (drawn == plain(Yellow))
                    continue; // the frame lies over the picture; the rules read the picture
                ++probed;
                if (drawn != colour) {
                    if (wrong < 5)
                        ADD_FAILURE() << what.toStdString() << ": screen pixel (" << inWindow.x() << ", "
                                      << inWindow.y() << ") drawn " << std::hex << drawn << ", read " << colour
                                      << std::dec;
                    ++wrong;
                }
            }
        }
        return wrong;
    }

    // Screen pixels of the picture area that are none of the picture's colours.
    int foreignColours(const QImage& expected)
    {
        QSet<QRgb> own;
        for (int y = 0; y < expected.height(); ++y)
            for (int x0 = 0; x0 < expected.width(); ++x0)
                own.insert(plain(expected.pixel(x0, y)));
        own.insert(plain(Yellow));
        const QImage shot = this->shot();
        int foreign = 0;
        for (int y = 0; y < int(480 * scale); ++y)
            for (int x0 = 0; x0 < shot.width(); ++x0)
                foreign += !own.contains(plain(shot.pixel(x0, y)));
        return foreign;
    }

    std::unique_ptr<XSession> x;
    std::unique_ptr<WestonSession> weston; // on Wayland only
    QRect window;
    double scale = 1;
    QString traceFile;
};

TEST_P(ScaledPointer, ReadColourIsDrawnColour)
{
    const Scaling scaling = GetParam();
    x = std::make_unique<XSession>(QSize(2048, 1600));
    ASSERT_TRUE(x->started()) << "Xvfb did not start";
    GameHome home;
    if (scaling.xftDpi) {
        const QString resources = home.path() + QStringLiteral("/resources");
        QFile file(resources);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("Xft.dpi: %1\n").arg(scaling.xftDpi).toLatin1());
        file.close();
        QProcess xrdb;
        xrdb.setProcessEnvironment(x->environment());
        xrdb.start(QStringLiteral("xrdb"), {QStringLiteral("-nocpp"), QStringLiteral("-load"), resources});
        ASSERT_TRUE(xrdb.waitForFinished(StepTimeoutMs) && xrdb.exitCode() == 0);
    }
    if (scaling.westonScale) {
        weston = std::make_unique<WestonSession>(*x, scaling.westonScale);
        if (!weston->started())
            GTEST_SKIP() << weston->failure().toStdString();
    }
    traceFile = home.path() + QStringLiteral("/pointer-trace");
    QProcessEnvironment env = weston ? weston->clientEnvironment() : QProcessEnvironment();
    env.insert(QStringLiteral("ZIGWALK_TRACE_POINTER"), QStringLiteral("1"));
    if (scaling.qtScale)
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scaling.qtScale));
    // The trace is opened for appending: once the test has emptied it, the
    // game writes from its start again rather than after a run of zeros.
    RunningGame game(*x, home, {QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                QStringLiteral("exec \"$0\" 2>>\"$1\""), gameProgram(), traceFile},
                     env);

    const QImage menu = picture(QStringLiteral("menu-cs"));
    if (weston) {
        // The compositor's windows are not X windows: the game's is where the
        // screen shows the menu, each picture pixel a block of the output's scale.
        scale = scaling.westonScale;
        x->moveTo(QPoint(WestonSession::OutputWidth / 2, 10));
        std::optional<QPoint> at;
        ASSERT_TRUE(waitUntil([&] { return bool(at = findPictureOnScreen(x->screen(), menu, scaling.westonScale)); },
                              StepTimeoutMs))
            << "the menu never showed on the compositor's screen";
        window = QRect(*at, QSize(640, 496) * scaling.westonScale);
    } else {
        ASSERT_TRUE(waitUntil(
            [&] {
                for (const QString& id : x->windowsNamed(QStringLiteral("Zig-walk")))
                    if (const auto g = x->windowGeometry(id); g && g->width() >= 640) {
                        window = *g;
                        return true;
                    }
                return false;
            },
            StepTimeoutMs));
        scale = window.width() / 640.0;
    }
    EXPECT_EQ(window.height(), int(std::lround(496 * scale))) << "the window keeps its shape";
    // The menu is on screen once its new-game item shows.
    ASSERT_TRUE(waitUntil([&] { return foreignColours(menu) == 0 && shot().pixel(
                                                                       window.width() / 2, window.height() / 4)
                                                                   != 0u; },
                          StepTimeoutMs))
        << "the menu is not drawn sharp at scale " << scale << ": " << foreignColours(menu)
        << " screen pixels of no colour of the picture";

    int probed = 0;
    const int wrongOnMenu = mismatches(QStringLiteral("menu"), probed);
    EXPECT_EQ(wrongOnMenu, 0);

    // Level 1, by a press on the new-game item.
    const QImage shot = this->shot();
    std::optional<QPoint> newGame;
    for (int y = 0; y < shot.height() && !newGame; ++y)
        for (int x0 = 0; x0 < shot.width() && !newGame; ++x0)
            if (plain(shot.pixel(x0, y)) == plain(rgbOf(ColorNewGame))
                && plain(shot.pixel(x0 + 4, y + 4)) == plain(rgbOf(ColorNewGame)))
                newGame = QPoint(x0 + 4, y + 4);
    ASSERT_TRUE(newGame);
    // Pressed where the window has heard the pointer arrive, held as long as a
    // quick player holds it.
    QFile::resize(traceFile, 0);
    x->moveTo(window.topLeft() + *newGame);
    const QPoint pressAt = window.topLeft() + *newGame;
    ASSERT_TRUE(waitUntil([&] { return traced().count({pressAt.x(), pressAt.y()}) > 0; }, StepTimeoutMs))
        << "the window never heard of the pointer on the new-game item";
    x->buttonDown();
    QThread::msleep(PressHoldMs);
    x->buttonUp();
    const QImage level1 = picture(QStringLiteral("level-01"));
    const auto whiteShown = [&] {
        const QImage now = this->shot();
        int white = 0, yellow = 0;
        for (int y = 0; y < now.height(); y += 3)
            for (int x0 = 0; x0 < now.width(); x0 += 3) {
                white += plain(now.pixel(x0, y)) == 0xFFFFFF;
                yellow += plain(now.pixel(x0, y)) == plain(Yellow);
            }
        return white > 1000 && yellow < 50; // level 1, the frame shrunk away
    };
    ASSERT_TRUE(waitUntil(whiteShown, StepTimeoutMs)) << "level 1 did not come";
    // The sweep's last frames may still be on their way to the screen.
    waitUntil([&] { return foreignColours(level1) == 0; }, StepTimeoutMs);
    EXPECT_EQ(foreignColours(level1), 0) << "level 1 is not drawn sharp";
    const int wrongOnLevel = mismatches(QStringLiteral("level 1"), probed);
    EXPECT_EQ(wrongOnLevel, 0);
    std::cout << "[ scale ] " << scaling.name << ": window " << window.width() << "x" << window.height() << ", "
              << probed << " screen pixels probed, " << wrongOnMenu << " wrong on the menu, " << wrongOnLevel
              << " on level 1\n";
    EXPECT_GT(probed, 500) << "too few moves reached the window";
}

INSTANTIATE_TEST_SUITE_P(Desktop, ScaledPointer,
                         ::testing::Values(Scaling{"dpi96", 96, nullptr}, Scaling{"dpi120", 120, nullptr},
                                           Scaling{"dpi144", 144, nullptr}, Scaling{"dpi192", 192, nullptr},
                                           Scaling{"qt1_5", 0, "1.5"}, Scaling{"qt2", 0, "2"}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Wayland, ScaledPointer,
                         ::testing::Values(Scaling{"weston1", 0, nullptr, 1}, Scaling{"weston2", 0, nullptr, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zw::e2e
