#pragma once
// A private X display for one test: its own Xvfb, and the tools that look
// at it and act on it (xdotool for the mouse and windows; the screen's
// pixels are asked of the server directly, as a test polls them often).

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

struct xcb_connection_t;

namespace zw::e2e {

// The programs the test needs that are not on this machine (empty: all there).
QStringList missingTools();

// Waits until ready() holds, asking every 50 ms; false after timeoutMs.
bool waitUntil(const std::function<bool()>& ready, int timeoutMs);

class XSession {
public:
    // Starts Xvfb on a free display, its screen this size; check started().
    explicit XSession(QSize screenSize = {1024, 768});
    ~XSession(); // stops it

    bool started() const { return !display_.isEmpty(); }
    const QString& display() const { return display_; } // ":N"

    // An environment for a program on this display.
    QProcessEnvironment environment() const;

    // Runs xdotool with these arguments; its output, or nothing on failure.
    std::optional<QString> xdotool(const QStringList& arguments) const;

    // The ids of the windows whose name is exactly this.
    QStringList windowsNamed(const QString& name) const;
    // The window's place on the screen and its size.
    std::optional<QRect> windowGeometry(const QString& windowId) const;

    // Pointer actions, in screen pixels.
    void moveTo(QPoint p) const;
    void moveAlong(const std::vector<QPoint>& points) const; // one smooth stroke
    std::optional<QPoint> pointer() const; // where it is now
    void buttonDown() const;
    void buttonUp() const;

    // The whole screen as it is now (the pointer is not in it); a null
    // image when the server cannot be asked.
    QImage screen() const;

private:
    std::unique_ptr<QProcess> server_;
    mutable xcb_connection_t* screenLink_ = nullptr; // opened at the first screen()
    QString display_;
};

} // namespace zw::e2e
