#pragma once
// What the start-up and memory figures are read from, shared by the game's
// driver and the bare baseline window so both are measured the same way:
// the wall clock when the first frame has been painted, and the process's
// peak resident memory.

#include <QObject>

#include <cstdint>
#include <functional>

namespace zw::bench {

// CLOCK_REALTIME in nanoseconds: comparable with `date +%s%N` taken by the
// script just before it started the process.
std::int64_t wallClockNs();

// VmHWM and VmRSS of this process in kB, from /proc/self/status; -1 if unknown.
long peakResidentKb();
long residentKb();

// Counts the paint events of one widget and the pixels they covered. The
// first one also calls onFirstPaint, from the event loop right after that
// paint has been handled (and so pushed to the screen).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QObject* watched, std::function<void()> onFirstPaint = {});

    int paints() const { return paints_; }
    // Pixels painted since the last call (the areas of the paint regions).
    long long takePaintedPixels();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onFirstPaint_;
    int paints_ = 0;
    long long painted_ = 0;
};

// Prints the figures of the first paint as "key value" lines and ends the
// process at once, without the teardown that a measurement does not need.
[[noreturn]] void reportFirstPaintAndExit();

} // namespace zw::bench
