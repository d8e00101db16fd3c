#pragma once
// A private Wayland compositor for one test: Debian's weston, nested in the
// test's own X display (its x11 backend), so that the X pointer moved with
// xdotool is the compositor's pointer and the X screen shows what it draws.

#include "XSession.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace zw::e2e {

class WestonSession {
public:
    // The compositor's output as a window at the top left of the X screen,
    // in the compositor's own pixels: at an output scale of 2 the window on
    // the X screen is twice as wide and high.
    static constexpr int OutputWidth = 900;
    static constexpr int OutputHeight = 700;

    // Starts weston, its output at this scale (weston's --scale); check started().
    explicit WestonSession(const XSession& x, int scale = 1);
    ~WestonSession();                          // stops it

    bool started() const { return started_; }
    // Why it did not start: weston's last words, or that it is not installed.
    const QString& failure() const { return failure_; }

    // What a program needs to become this compositor's client with Qt's
    // Wayland plugin: the socket by its full path, and no X display.
    QProcessEnvironment clientEnvironment() const;

    // The compositor dies at once, as one that crashed.
    void kill();

private:
    QTemporaryDir runtime_;
    std::unique_ptr<QProcess> weston_;
    bool started_ = false;
    QString failure_;
};

// Where the picture's top left lies on the screen: the place where the
// screen shows every pixel of this 640 x 480 picture, each as a block of
// scale x scale screen pixels (one screen pixel per block is looked at), the
// frame's yellow let pass. The compositor's pointer must be elsewhere.
std::optional<QPoint> findPictureOnScreen(const QImage& screen, const QImage& picture, int scale = 1);

} // namespace zw::e2e
