#pragma once
// The game's own window frame for Wayland compositors that draw none. Qt's
// stand-in frame lies inside the window's surface and offers resize edges
// even to a fixed-size window, so the picture's outermost pixels went to it
// and never to the game. This frame is a title bar above the game window and
// nothing else: every pixel of the picture stays the game's, and the window
// keeps its title, its close button and its fixed size.

#include <QWidget>

namespace zw::view {

class GameWindow;

// Whether the game window needs this frame: on Wayland, unless the compositor
// frames windows itself or the player turned window frames off
// (QT_WAYLAND_DISABLE_WINDOWDECORATION).
bool needsGameFrame(const QString& platformName, bool decorationsDisabled, bool compositorFrames);

// The same question for the running application.
bool needsGameFrame();

class GameFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int TitleHeight = 28;

    // Takes the game window in, below the title bar.
    explicit GameFrame(GameWindow& content);
    ~GameFrame() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect closeButton() const;
    QRect minimizeButton() const;
    // Ends Qt's hold of the pointer that a press on the title bar began.
    void givePointerBack(const QMouseEvent& press);

    GameWindow& content_;
    bool hoverClose_ = false;
    bool hoverMinimize_ = false;
};

} // namespace zw::view
