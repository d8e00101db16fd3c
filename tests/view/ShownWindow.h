#pragma once
// A loaded and shown game window over the fixture pictures and a recording
// platform, with helpers that hand it mouse events and timer ticks the way
// Qt would.

#include "support/FixturePictures.h"
#include "support/TestPlatform.h"
#include "game/Game.h"
#include "base/RuntimeError.h"
#include "view/ClickLabel.h"
#include "view/GameWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

namespace zw::test {

class ShownWindow {
public:
    TestPlatform platform;
    Game game{platform, [] { return std::make_unique<PictureStore>(&fixturePicture); }};
    view::GameWindow window{game};
    QStringList errorBoxes;                  // texts of the run-time error boxes, in order
    std::function<void()> whileBoxIsOpen;    // runs inside the box, as its event loop would

    ShownWindow()
    {
        window.setErrorBox([this](const QString& text) {
            errorBoxes << text;
            if (whileBoxIsOpen)
                whileBoxIsOpen();
        });
        window.load();
        window.show();
    }

    view::ClickLabel* label(const char* name) { return window.findChild<view::ClickLabel*>(name); }
    QWidget* child(const char* name) { return window.findChild<QWidget*>(name); }
    QTimer* timer() { return window.findChild<QTimer*>("Timer1"); }

    static void send(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
                     Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {})
    {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(target, &event);
    }
    // A move over target with the given buttons held.
    static void move(QWidget* target, QPointF at, Qt::MouseButtons held = Qt::NoButton)
    {
        send(target, QEvent::MouseMove, at, Qt::NoButton, held);
    }
    static void press(QWidget* target, QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        send(target, QEvent::MouseButtonPress, at, button, button);
    }
    static void release(QWidget* target, QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        send(target, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    static void click(QWidget* target, QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        press(target, at, button);
        release(target, at, button);
    }
    void move(QPointF at, Qt::MouseButtons held = Qt::NoButton) { move(&window, at, held); }
    void press(QPointF at, Qt::MouseButton button = Qt::LeftButton) { press(&window, at, button); }
    void click(QPointF at) { click(&window, at); }

    // One beat of the frame timer, as if it had fired.
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            QMetaObject::invokeMethod(&window, "timer1Tick", Qt::DirectConnection);
    }

    // What the window looks like, children included.
    QImage screen() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

inline QPointF centre(const QRect& r)
{
    return QRectF(r).center();
}

} // namespace zw::test
