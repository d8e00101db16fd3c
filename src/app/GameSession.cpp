#include "app/GameSession.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>

namespace zw::view {

void useWholeScaleFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

FirstFrameWatch::FirstFrameWatch(QWidget& window, platform::QtPlatform& platform)
    : platform_(platform)
{
    window.installEventFilter(this);
}

bool FirstFrameWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        watched->removeEventFilter(this);
        // The filter runs before the window paints; the zero timer fires
        // once this first frame is painted and on its way to the screen.
        QTimer::singleShot(0, this, [this] { platform_.windowShown(); });
    }
    return QObject::eventFilter(watched, event);
}

GameSession::GameSession(Game::StoreFactory makeStore, LevelSet levels)
    : game{platform, std::move(makeStore), std::move(levels)}
{
    // A box of the game's own stops the frame timer, as an error box does.
    platform.setBeforeMessageBox([this] { window.pauseTimer(); });
}

} // namespace zw::view
