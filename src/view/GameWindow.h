#pragma once
// The game window on screen. It owns no game logic: every event goes to the
// game's handler through one gate, and after each handler the window brings
// the screen in line with the game's controls, repainting only what changed.

#include "base/PictureSize.h"
#include "game/Controls.h"
#include "view/HandlerGate.h"

#include <QCursor>
#include <QPixmap>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace zw {
class Game;
}

namespace zw::view {

class ClickLabel;
class CodeBox;

// The window's title for the built-in game; a pack's names the pack after it.
inline const QString GameTitle = QStringLiteral("Zig-walk");

class GameWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = WindowWidth;
    static constexpr int ClientHeight = WindowHeight;

    explicit GameWindow(Game& game, QWidget* parent = nullptr);
    ~GameWindow() override;

    // Runs Form_Load and shows its result. Call once, before show().
    void load();

    // How a run-time error reaches the player: by default a modal critical
    // box titled "Zigwalk". The timer is already paused when it is called.
    void setErrorBox(HandlerGate::ErrorBox box);

    // Stops the frame timer while a modal box is open, so no tick waits to
    // run the moment it closes; the end of the handler starts it again.
    void pauseTimer();

    // What the last handler asked to repaint (empty when nothing changed on
    // screen), for checking that a still frame costs nothing.
    const QRegion& lastRepaint() const { return lastRepaint_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void timer1Tick();
    void label1Clicked();
    void label2Clicked();
    void codeEdited(const QString& text);
    void codeSubmitted();

private:
    // Runs one handler through the gate, then updates the screen.
    void deliver(const std::function<void()>& handler);
    void showControls();
    void showPicture(QRegion& dirty);
    void showLines(QRegion& dirty);
    void showCursor();
    void followTimer();
    const QCursor& cursorFor(PointerPicture picture);
    // The picture pixel under the pointer, as a position for the rules.
    QPointF pointerSpot(const QMouseEvent& event) const;

    Game& game_;
    HandlerGate gate_;
    HandlerGate::ErrorBox errorBox_;
    ClickLabel* label1_;
    ClickLabel* label2_;
    CodeBox* frame1_;
    QTimer timer1_;

    // What the screen shows now, to compare with the game's controls.
    qint64 shownPictureKey_ = 0;
    QImage shownImage_; // held so its cache key stays its own
    QPixmap picture_; // the shown picture as the screen shows it, made once per change or scale
    bool tracePointer_ = false;
    std::array<LineShape, 4> shownLines_;
    QString shownText1_;
    std::optional<PointerPicture> shownCursor_;
    std::optional<QCursor> runCursor_, idleCursor_;
    QRegion lastRepaint_;
    bool closing_ = false;
};

} // namespace zw::view
