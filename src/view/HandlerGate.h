#pragma once
// The one door every window event goes through on its way to the game. It
// runs one handler at a time: an event that arrives while a handler is still
// running (a timer tick during a modal box, say) is dropped, because the
// game's handlers must never interleave. A run-time error raised by the
// handler is reported in a box and ends only that handler; the game goes on.

#include <QString>
#include <functional>

namespace zw::view {

class HandlerGate {
public:
    // Shows the text of a run-time error to the player; may block (a modal box).
    using ErrorBox = std::function<void(const QString& text)>;

    explicit HandlerGate(ErrorBox box) : box_(std::move(box)) {}

    // Runs handler unless another one is running. False when it was refused.
    bool run(const std::function<void()>& handler);

    // A handler is running (or its error box is open).
    bool busy() const { return busy_; }

private:
    ErrorBox box_;
    bool busy_ = false;
};

} // namespace zw::view
