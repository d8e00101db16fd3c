#include "view/HandlerGate.h"

#include "base/RuntimeError.h"

namespace zw::view {

namespace {
// Opens the gate again however the handler leaves.
struct Closed {
    bool& flag;
    explicit Closed(bool& f) : flag(f) { flag = true; }
    ~Closed() { flag = false; }
};
} // namespace

bool HandlerGate::run(const std::function<void()>& handler)
{
    if (busy_)
        return false;
    Closed closed(busy_);
    try {
        handler();
    } catch (const RuntimeError& error) {
        // The box is shown while the gate is still closed: whatever the
        // box's own event loop delivers must not start another handler.
        if (box_)
            box_(error.boxText());
    }
    return true;
}

} // namespace zw::view
