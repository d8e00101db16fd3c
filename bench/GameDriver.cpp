// The game as the real program starts it (the same steps as src/app/main.cpp,
// the same library), with ways to measure it instead of playing:
//
//   bench_game --exit-after-paint     prints when the menu's first frame was
//                                      painted, the peak memory and whether
//                                      the music was asked for, then ends
//   bench_game --visit-all             shows every level picture in turn
//                                      through the window, each one painted,
//                                      then prints the peak memory and ends
//   bench_game --count-repaints N      lets the frame timer tick N times with
//                                      the frame standing still and N times
//                                      with it moving, and prints what each
//                                      tick asked the window to repaint
//   bench_game --item-spot             prints a point well inside the menu's
//                                      continue item, for hovering it from
//                                      outside (xdotool), and ends
//   bench_game --levels FOLDER         plays a player's folder of levels (or a pack),
//                                      opened and checked as src/app/main.cpp
//                                      does (with any of the above)
//   bench_game --death-beeps N         a second after the first frame starts
//                                      a new game, then dies N times on
//                                      level 1, half a second apart, and
//                                      prints the wall clock of every touch
//                                      of white, for timing the beeps
//
// Without an option it is just the game. Every figure is a "key value" line
// on standard output, for bench/run.sh to read.

#include "FirstPaint.h"
#include "KeySpots.h"

#include "app/LevelFolder.h"
#include "app/LevelPack.h"
#include "check/PlayerPack.h"
#include "game/Game.h"
#include "app/GameSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zw {
// Lines compare by their four coordinates, exactly.
bool operator==(const LineShape& a, const LineShape& b)
{
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}
} // namespace zw

namespace {

using zw::bench::PaintWatch;

// A pointer move with no button held, handed to the window as Qt would.
void hover(QWidget& window, QPointF at)
{
    QMouseEvent move(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
}

// Runs the event loop until the window has painted once more.
bool waitForPaint(const PaintWatch& watch, int paintsBefore)
{
    const QDeadlineTimer deadline(5000);
    while (watch.paints() == paintsBefore && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return watch.paints() > paintsBefore;
}

void report(const char* key, long long value)
{
    std::printf("%s %lld\n", key, value);
}

// Every level picture in turn, as a level change shows it: the window's
// picture becomes the store's, and the next event makes the window catch up.
[[noreturn]] void visitAll(zw::Game& game, QWidget& window, const PaintWatch& watch)
{
    report("startup-peak-rss-kb", zw::bench::peakResidentKb());
    const QPointF belowPicture(320, 490);
    int painted = 0;
    // The menu is already on screen: it comes last, when it is a change again.
    for (int step = 1; step <= zw::PictureStore::LevelCount; ++step) {
        const int level = step % zw::PictureStore::LevelCount;
        game.controls().Picture = game.Form2().Picture3(static_cast<std::int16_t>(level));
        const int before = watch.paints();
        hover(window, belowPicture);
        painted += waitForPaint(watch, before) ? 1 : 0;
    }
    report("pictures-painted", painted);
    report("visited-peak-rss-kb", zw::bench::peakResidentKb());
    report("visited-rss-kb", zw::bench::residentKb());
    std::fflush(stdout);
    std::quick_exit(0);
}

// The pixels that a frame line may cover: its end points grown by the pen
// (3 pixels wide with square caps), so that a line moved from a to b needs
// at most the union of both.
QRect lineReach(const zw::LineShape& line)
{
    return QRectF(QPointF(line.X1, line.Y1), QPointF(line.X2, line.Y2))
        .normalized()
        .adjusted(-3, -3, 3, 3)
        .toAlignedRect();
}

long long areaOf(const QRegion& region)
{
    long long area = 0;
    for (const QRect& r : region)
        area += static_cast<long long>(r.width()) * r.height();
    return area;
}

class RepaintCounter : public QObject {
public:
    RepaintCounter(zw::Game& game, zw::view::GameWindow& window, PaintWatch& watch, int ticks)
        : game_(game), window_(window), watch_(watch), ticksPerPhase_(ticks)
    {
        const QImage& menu = game.Form2().Picture3(0);
        const auto cont = zw::bench::innerSpot(menu, zw::ColorContinue);
        const auto fresh = zw::bench::innerSpot(menu, zw::ColorNewGame);
        continueItem_ = QPointF(cont.x, cont.y);
        newGameItem_ = QPointF(fresh.x, fresh.y);
        if (cont.x < 0 || fresh.x < 0) {
            std::fprintf(stderr, "bench_game: the menu has no continue or new-game item\n");
            std::exit(1);
        }
        lines_ = game.controls().Line;
        // Connected after the window's own handler, so each call sees what
        // that tick left behind.
        QTimer* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
        connect(timer, &QTimer::timeout, this, &RepaintCounter::afterTick);
        // Hovering the first item starts the timer with the frame already there.
        hover(window, continueItem_);
    }

private:
    // Ticks to let pass after the hover before counting, so that its caption
    // change is painted and out of the way.
    static constexpr int SettleTicks = 12;

    void afterTick()
    {
        ++tick_;
        const auto& now = game_.controls().Line;
        const bool moved = now != lines_;
        QRegion reach;
        for (std::size_t i = 0; i < now.size(); ++i)
            reach += QRegion(lineReach(lines_[i])) + lineReach(now[i]);
        lines_ = now;
        const QRegion asked = window_.lastRepaint();

        if (tick_ == SettleTicks)
            watch_.takePaintedPixels();
        if (tick_ > SettleTicks && tick_ <= SettleTicks + ticksPerPhase_) {
            ++stillTicks_;
            stillMoved_ += moved ? 1 : 0;
            stillMax_ = std::max(stillMax_, areaOf(asked));
        }
        if (tick_ == SettleTicks + ticksPerPhase_) {
            stillPainted_ = watch_.takePaintedPixels();
        }
        if (tick_ > SettleTicks + ticksPerPhase_) {
            // Every ten ticks the other item is hovered, so the frame glides
            // back and forth between them without a pause.
            const int movingTick = tick_ - SettleTicks - ticksPerPhase_;
            if (moved) {
                ++movingTicks_;
                movingSum_ += areaOf(asked);
                movingMax_ = std::max(movingMax_, areaOf(asked));
                reachSum_ += areaOf(reach);
                outside_ += areaOf(asked - reach);
            }
            if (movingTick % 10 == 1)
                hover(window_, (movingTick / 10) % 2 == 0 ? newGameItem_ : continueItem_);
            if (movingTick == ticksPerPhase_)
                finish();
        }
    }

    [[noreturn]] void finish()
    {
        report("still-ticks", stillTicks_);
        report("still-ticks-moved", stillMoved_);
        report("still-repaint-max-px", stillMax_);
        report("still-painted-px", stillPainted_);
        report("moving-ticks", movingTicks_);
        report("moving-repaint-mean-px", movingTicks_ ? movingSum_ / movingTicks_ : -1);
        report("moving-repaint-max-px", movingMax_);
        report("moving-lines-reach-mean-px", movingTicks_ ? reachSum_ / movingTicks_ : -1);
        report("moving-repaint-outside-lines-px", outside_);
        report("window-px", static_cast<long long>(zw::view::GameWindow::ClientWidth)
                                * zw::view::GameWindow::ClientHeight);
        std::fflush(stdout);
        std::quick_exit(0);
    }

    zw::Game& game_;
    zw::view::GameWindow& window_;
    PaintWatch& watch_;
    const int ticksPerPhase_;
    QPointF continueItem_, newGameItem_;
    std::array<zw::LineShape, 4> lines_;
    int tick_ = 0;
    long long stillTicks_ = 0, stillMoved_ = 0, stillMax_ = 0, stillPainted_ = -1;
    long long movingTicks_ = 0, movingSum_ = 0, movingMax_ = 0, reachSum_ = 0, outside_ = 0;
};

// A press and release of the left button, handed to the window as Qt would.
void click(QWidget& window, QPointF at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, window.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }
}

// Runs the event loop for this long.
void spend(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Deaths as a player makes them: a press on the start spot, then the pointer
// on white. The touch is the move onto white; its wall-clock time is taken
// right before the window gets it.
[[noreturn]] void deathBeeps(zw::Game& game, QWidget& window, int deaths)
{
    spend(1000);
    const auto fresh = zw::bench::innerSpot(game.Form2().Picture3(0), zw::ColorNewGame);
    const auto start = zw::bench::innerSpot(game.Form2().Picture3(1), zw::ColorStart);
    const auto wall = zw::bench::innerSpot(game.Form2().Picture3(1), zw::ColorWall);
    if (fresh.x < 0 || start.x < 0 || wall.x < 0) {
        std::fprintf(stderr, "bench_game: no new-game item, start spot or white on level 1\n");
        std::quick_exit(1);
    }
    hover(window, QPointF(fresh.x, fresh.y));
    click(window, QPointF(fresh.x, fresh.y));
    const QDeadlineTimer sweep(5000);
    while (game.state().Level != 1 && !sweep.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    spend(1000); // the sweep to the new level is over
    for (int i = 0; i < deaths; ++i) {
        hover(window, QPointF(start.x, start.y));
        click(window, QPointF(start.x, start.y));
        spend(50);
        const float before = game.state().Deaths;
        report("touch-ns", zw::bench::wallClockNs());
        hover(window, QPointF(wall.x, wall.y));
        report("counted", game.state().Deaths > before ? 1 : 0);
        std::fflush(stdout);
        spend(500);
    }
    std::quick_exit(0);
}

} // namespace

int main(int argc, char* argv[])
{
    enum class Mode { Play, ExitAfterPaint, VisitAll, CountRepaints, ItemSpot, DeathBeeps } mode = Mode::Play;
    int ticks = 40;
    int deaths = 10;
    const char* levelFolder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--exit-after-paint") == 0)
            mode = Mode::ExitAfterPaint;
        else if (std::strcmp(argv[i], "--visit-all") == 0)
            mode = Mode::VisitAll;
        else if (std::strcmp(argv[i], "--levels") == 0 && i + 1 < argc)
            levelFolder = argv[++i];
        else if (std::strcmp(argv[i], "--item-spot") == 0)
            mode = Mode::ItemSpot;
        else if (std::strcmp(argv[i], "--count-repaints") == 0 && i + 1 < argc) {
            mode = Mode::CountRepaints;
            ticks = std::max(10, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--death-beeps") == 0 && i + 1 < argc) {
            mode = Mode::DeathBeeps;
            deaths = std::max(1, std::atoi(argv[++i]));
        }
    }

    if (mode == Mode::ItemSpot) {
        const zw::PictureStore store;
        const zw::bench::KeySpot spot = zw::bench::innerSpot(store.Picture3(0), zw::ColorContinue);
        std::printf("continue-item %d %d\n", spot.x, spot.y);
        return spot.x < 0 ? 1 : 0;
    }

    // From here on, what src/app/main.cpp does.
    zw::view::useWholeScaleFactors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zigwalk"));

    std::unique_ptr<zw::view::GameSession> made;
    if (levelFolder) {
        const QString levels = QString::fromLocal8Bit(levelFolder);
        zw::LevelFolder opened =
            zw::check::namesPack(levels) ? zw::openLevelPack(levels, 0) : zw::openLevelFolder(levels, 0);
        if (!opened.findings.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.findings.join(QLatin1Char('\n'))));
            return 2;
        }
        auto mazes = opened.mazes;
        made = std::make_unique<zw::view::GameSession>([mazes] { return zw::makeFolderStore(mazes); }, opened.levels);
    } else {
        made = std::make_unique<zw::view::GameSession>();
    }
    zw::view::GameSession& session = *made;
    zw::Game& game = session.game;
    zw::view::GameWindow& window = session.window;

    // Watching starts before the window is shown, so its first paint is seen.
    std::unique_ptr<RepaintCounter> counter;
    PaintWatch* watch = nullptr;
    watch = new PaintWatch(&window, [&] {
        switch (mode) {
        case Mode::ExitAfterPaint:
            // Whether the game found music.mid beside it and asked for it.
            std::printf("music-on %d\n", static_cast<int>(game.state().MusicOn));
            zw::bench::reportFirstPaintAndExit();
        case Mode::VisitAll:
            visitAll(game, window, *watch);
        case Mode::CountRepaints:
            counter = std::make_unique<RepaintCounter>(game, window, *watch, ticks);
            break;
        case Mode::DeathBeeps:
            // From the event loop, not inside the paint that is being watched.
            QTimer::singleShot(0, &window, [&] { deathBeeps(game, window, deaths); });
            break;
        case Mode::Play:
        case Mode::ItemSpot:
            break;
        }
    });

    window.load();
    window.show();
    return app.exec();
}
