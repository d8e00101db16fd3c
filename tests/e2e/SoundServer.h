#pragma once
// A private PulseAudio server for one test, playing into a null sink, and a
// recording of that sink's monitor: what the server's clients made audible.
// The server lives in the given runtime folder, where a client started with
// that XDG_RUNTIME_DIR looks for it.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>

namespace zw::e2e {

using SoundClock = std::chrono::steady_clock;

// The programs the sound tests need that are not on this machine.
QStringList missingSoundTools();

class SoundServer {
public:
    explicit SoundServer(const QString& runtimeFolder); // starts it; check started()
    ~SoundServer();                                     // stops it

    bool started() const { return started_; }
    QString address() const; // for a client's --server
    qint64 pid() const { return process_.processId(); }
    void stop();

private:
    QString runtimeFolder_;
    QProcess process_;
    bool started_ = false;
};

// Records the monitor of the server's sink from now on (parec), 44.1 kHz
// 16-bit stereo, into a file of its own.
class Recording {
public:
    explicit Recording(const SoundServer& server);
    ~Recording();

    // Whether sound has begun to arrive; waits for it a little.
    bool started();

    // The loudness (RMS, 0 to 1) of what was recorded between two moments.
    // Moments after the last sample recorded so far are not counted.
    double level(SoundClock::time_point from, SoundClock::time_point to);
    // Waits until something louder than threshold is heard after `from`, up
    // to timeoutMs; when it was heard, or nothing.
    std::optional<SoundClock::time_point> heardAfter(SoundClock::time_point from, double threshold,
                                                     int timeoutMs);

private:
    struct Anchor {
        SoundClock::time_point at;
        qint64 frames;
    };
    Anchor anchor() const; // the last frame recorded and when it was
    QByteArray framesBetween(const Anchor& now, SoundClock::time_point from, SoundClock::time_point to) const;

    QTemporaryDir dir_;
    QProcess process_;
};

// Loud enough to be a note, and quiet enough to count as silence.
inline constexpr double Audible = 0.01;
inline constexpr double Silent = 0.002;

} // namespace zw::e2e
