#include "ui/view/GameSession.h"

#include <QGuiApplication>

namespace zw::view {

void useWholeScaleFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

GameSession::GameSession()
{
    // A box of the game's own stops the frame timer, as an error box does.
    platform.setBeforeMessageBox([this] { window.pauseTimer(); });
}

} // namespace zw::view
