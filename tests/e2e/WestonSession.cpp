#include "WestonSession.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <vector>

namespace zw::e2e {

namespace {
constexpr int WestonStartTimeoutMs = 10000;
const QString SocketName = QStringLiteral("wayland-zigwalk");
} // namespace

WestonSession::WestonSession(const XSession& x, int scale) : weston_(std::make_unique<QProcess>())
{
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty()) {
        failure_ = QStringLiteral("weston is not installed");
        return;
    }
    if (!x.started() || !runtime_.isValid()) {
        failure_ = QStringLiteral("no X display or runtime folder to start it in");
        return;
    }
    // Its runtime folder must be private to its user, as a session's is.
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = x.environment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime_.path());
    weston_->setProcessEnvironment(env);
    // Weston's X11 backend learns where the X pointer is only when it enters
    // the output's window, and follows it by its moves from then on. The
    // pointer starts outside, so that the first move in tells it.
    x.moveTo(QPoint(OutputWidth * scale + 20, OutputHeight * scale + 20));
    weston_->setProcessChannelMode(QProcess::MergedChannels);
    // Pixman draws without a GPU; --idle-time=0 never blanks the screen.
    weston_->start(QStringLiteral("weston"),
                   {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
                    QStringLiteral("--width=%1").arg(OutputWidth), QStringLiteral("--height=%1").arg(OutputHeight),
                    QStringLiteral("--scale=%1").arg(scale), QStringLiteral("--socket=") + SocketName, QStringLiteral("--idle-time=0"),
                    QStringLiteral("--no-config")});
    if (!weston_->waitForStarted(WestonStartTimeoutMs)) {
        failure_ = QStringLiteral("weston did not start: ") + weston_->errorString();
        return;
    }
    // It is ready once its socket is there and its shell, which places the
    // windows, has been launched.
    QByteArray log;
    const bool ready = waitUntil(
        [&] {
            weston_->waitForReadyRead(50);
            log += weston_->readAll();
            return (QFile::exists(runtime_.filePath(SocketName)) && log.contains("weston-desktop-shell"))
                || weston_->state() != QProcess::Running;
        },
        WestonStartTimeoutMs);
    if (!ready || weston_->state() != QProcess::Running) {
        failure_ = QStringLiteral("weston could not start: ") + QString::fromLocal8Bit(log.right(600));
        return;
    }
    started_ = true;
}

WestonSession::~WestonSession()
{
    if (weston_->state() != QProcess::NotRunning) {
        weston_->terminate();
        if (!weston_->waitForFinished(3000)) {
            weston_->kill();
            weston_->waitForFinished(3000);
        }
    }
}

QProcessEnvironment WestonSession::clientEnvironment() const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), runtime_.filePath(SocketName));
    env.insert(QStringLiteral("DISPLAY"), QString());
    return env;
}

void WestonSession::kill()
{
    weston_->kill();
    weston_->waitForFinished(3000);
}

std::optional<QPoint> findPictureOnScreen(const QImage& screen, const QImage& picture, int scale)
{
    const auto same = [&](int left, int top, QPoint p) {
        const QRgb shown = screen.pixel(left + p.x() * scale, top + p.y() * scale) & 0xFFFFFF;
        return shown == (picture.pixel(p) & 0xFFFFFF) || shown == 0xFFFF00; // the frame's yellow
    };
    // Samples on a skewed grid pick the candidates quickly; every pixel
    // decides.
    std::vector<QPoint> samples;
    for (int i = 0; i < 128; ++i)
        samples.emplace_back((i * 157 + 13) % 640, (i * 83 + 7) % 480);
    for (int top = 0; top + 496 * scale <= screen.height(); ++top)
        for (int left = 0; left + 640 * scale <= screen.width(); ++left) {
            bool candidate = true;
            for (QPoint s : samples)
                if (!same(left, top, s)) {
                    candidate = false;
                    break;
                }
            if (!candidate)
                continue;
            bool all = true;
            for (int y = 0; y < 480 && all; ++y)
                for (int x = 0; x < 640 && all; ++x)
                    all = same(left, top, QPoint(x, y));
            if (all)
                return QPoint(left, top);
        }
    return std::nullopt;
}

} // namespace zw::e2e
