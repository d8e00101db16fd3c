#include "FirstPaint.h"

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace zw::bench {

namespace {

long statusFieldKb(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::strtol(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

long long areaOf(const QRegion& region)
{
    long long area = 0;
    for (const QRect& r : region)
        area += static_cast<long long>(r.width()) * r.height();
    return area;
}

} // namespace

std::int64_t wallClockNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

long peakResidentKb() { return statusFieldKb("VmHWM"); }
long residentKb() { return statusFieldKb("VmRSS"); }

PaintWatch::PaintWatch(QObject* watched, std::function<void()> onFirstPaint)
    : QObject(watched), onFirstPaint_(std::move(onFirstPaint))
{
    watched->installEventFilter(this);
}

long long PaintWatch::takePaintedPixels()
{
    const long long painted = painted_;
    painted_ = 0;
    return painted;
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        painted_ += areaOf(static_cast<QPaintEvent*>(event)->region());
        if (++paints_ == 1 && onFirstPaint_) {
            // The filter runs before the widget paints; the zero timer fires
            // once this paint is done and flushed.
            QTimer::singleShot(0, this, onFirstPaint_);
        }
    }
    return QObject::eventFilter(watched, event);
}

void reportFirstPaintAndExit()
{
    const std::int64_t paintedAt = wallClockNs();
    std::printf("first-paint-ns %lld\n", static_cast<long long>(paintedAt));
    std::printf("peak-rss-kb %ld\n", peakResidentKb());
    std::printf("rss-kb %ld\n", residentKb());
    std::fflush(stdout);
    std::quick_exit(0);
}

} // namespace zw::bench
