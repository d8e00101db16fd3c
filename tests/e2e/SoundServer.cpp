#include "SoundServer.h"

#include "XSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace zw::e2e {

namespace {

constexpr int Rate = 44100;
constexpr int FrameBytes = 4; // two channels of 16 bits
constexpr int StartTimeoutMs = 10000;

QString socketIn(const QString& runtimeFolder)
{
    return runtimeFolder + QStringLiteral("/pulse/native");
}

} // namespace

QStringList missingSoundTools()
{
    QStringList missing;
    for (const char* tool : {"pulseaudio", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    return missing;
}

SoundServer::SoundServer(const QString& runtimeFolder) : runtimeFolder_(runtimeFolder)
{
    // Only what the tests need: the local socket, without the cookie that a
    // fresh home lacks, and one sink that plays into nothing but its monitor.
    const QString script = runtimeFolder + QStringLiteral("/test-server.pa");
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("load-module module-native-protocol-unix auth-anonymous=1\n"
               "load-module module-null-sink sink_name=out rate=44100\n"
               "set-default-sink out\n");
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    env.insert(QStringLiteral("HOME"), runtimeFolder);
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DISPLAY"));
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As root (CI), PulseAudio warns that it is meant for a desktop user but
    // runs all the same. -n: no default configuration, only the script.
    QStringList arguments = {QStringLiteral("-n"), QStringLiteral("-F"), script,
                             QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                             QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
                             QStringLiteral("--log-level=error"), QStringLiteral("--log-target=stderr")};
    if (geteuid() == 0)
        arguments << QStringLiteral("--system=no") << QStringLiteral("--high-priority=no")
                  << QStringLiteral("--realtime=no");
    process_.start(QStringLiteral("pulseaudio"), arguments);
    if (!process_.waitForStarted(StartTimeoutMs))
        return;
    started_ = waitUntil([&] { return QFileInfo::exists(socketIn(runtimeFolder)) || process_.state() != QProcess::Running; },
                         StartTimeoutMs)
        && process_.state() == QProcess::Running;
}

SoundServer::~SoundServer()
{
    stop();
}

QString SoundServer::address() const
{
    return QStringLiteral("unix:") + socketIn(runtimeFolder_);
}

void SoundServer::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

Recording::Recording(const SoundServer& server)
{
    process_.setStandardOutputFile(dir_.filePath(QStringLiteral("monitor.raw")));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A short latency: the samples reach the file within about 10 ms of
    // being played, so the file's end is a good clock.
    process_.start(QStringLiteral("parec"),
                   {QStringLiteral("--server=") + server.address(), QStringLiteral("--device=out.monitor"),
                    QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                    QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=10")});
}

Recording::~Recording()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
}

bool Recording::started()
{
    return process_.waitForStarted(StartTimeoutMs) && waitUntil([&] { return anchor().frames > 0; }, StartTimeoutMs);
}

Recording::Anchor Recording::anchor() const
{
    const SoundClock::time_point at = SoundClock::now();
    const qint64 bytes = QFileInfo(dir_.filePath(QStringLiteral("monitor.raw"))).size();
    return {at, bytes / FrameBytes};
}

QByteArray Recording::framesBetween(const Anchor& now, SoundClock::time_point from, SoundClock::time_point to) const
{
    const auto frameAt = [&](SoundClock::time_point t) {
        const double back = std::chrono::duration<double>(now.at - t).count();
        return std::clamp<qint64>(now.frames - qint64(std::llround(back * Rate)), 0, now.frames);
    };
    const qint64 first = frameAt(from);
    const qint64 last = frameAt(to);
    QFile file(dir_.filePath(QStringLiteral("monitor.raw")));
    if (last <= first || !file.open(QIODevice::ReadOnly) || !file.seek(first * FrameBytes))
        return {};
    return file.read((last - first) * FrameBytes);
}

namespace {

double rmsOf(const QByteArray& frames)
{
    const qsizetype count = frames.size() / 2;
    if (count == 0)
        return 0;
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        qint16 sample;
        std::memcpy(&sample, frames.constData() + 2 * i, 2);
        sum += double(sample) * sample;
    }
    return std::sqrt(sum / count) / 32768.0;
}

} // namespace

double Recording::level(SoundClock::time_point from, SoundClock::time_point to)
{
    return rmsOf(framesBetween(anchor(), from, to));
}

std::optional<SoundClock::time_point> Recording::heardAfter(SoundClock::time_point from, double threshold,
                                                            int timeoutMs)
{
    // Looked at in slices of 10 ms, so a short beep is not averaged away.
    constexpr auto Slice = std::chrono::milliseconds(10);
    SoundClock::time_point next = from;
    std::optional<SoundClock::time_point> heard;
    waitUntil(
        [&] {
            const Anchor now = anchor();
            const QByteArray frames = framesBetween(now, next, now.at);
            const qsizetype sliceBytes = Rate / 100 * FrameBytes;
            qsizetype offset = 0;
            for (; offset + sliceBytes <= frames.size(); offset += sliceBytes) {
                if (rmsOf(frames.mid(offset, sliceBytes)) > threshold) {
                    heard = next + Slice * (offset / sliceBytes);
                    return true;
                }
            }
            next += Slice * (offset / sliceBytes);
            return false;
        },
        timeoutMs);
    return heard;
}

} // namespace zw::e2e
