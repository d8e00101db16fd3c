#include "XSession.h"

#include <QStandardPaths>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <QThread>
#include <QRegularExpression>

namespace zw::e2e {

namespace {
constexpr int ToolTimeoutMs = 10000;
} // namespace

QStringList missingTools()
{
    QStringList missing;
    for (const char* tool : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    return missing;
}

bool waitUntil(const std::function<bool()>& ready, int timeoutMs)
{
    for (int waited = 0;; waited += 50) {
        if (ready())
            return true;
        if (waited >= timeoutMs)
            return false;
        QThread::msleep(50);
    }
}

XSession::XSession(QSize screenSize) : server_(std::make_unique<QProcess>())
{
    // Xvfb picks a free display number itself and writes it to its output, so
    // tests running side by side never fight over one. Without -noreset it
    // resets whenever its last client leaves (an xdotool call, a game that
    // was closed) and drops a client that is connecting just then, so a game
    // started at that moment would find no display.
    server_->setProgram(QStringLiteral("Xvfb"));
    server_->setArguments({QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(screenSize.width()).arg(screenSize.height()),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset"),
                           QStringLiteral("-displayfd"), QStringLiteral("1")});
    server_->setProcessChannelMode(QProcess::SeparateChannels);
    server_->start();
    if (!server_->waitForStarted(ToolTimeoutMs))
        return;
    QByteArray number;
    waitUntil(
        [&] {
            server_->waitForReadyRead(50);
            number += server_->readAllStandardOutput();
            return number.contains('\n') || server_->state() != QProcess::Running;
        },
        ToolTimeoutMs);
    if (number.trimmed().isEmpty() || server_->state() != QProcess::Running)
        return;
    display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

XSession::~XSession()
{
    if (screenLink_)
        xcb_disconnect(screenLink_);
    if (server_->state() != QProcess::NotRunning) {
        server_->terminate();
        if (!server_->waitForFinished(3000)) {
            server_->kill();
            server_->waitForFinished(3000);
        }
    }
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

std::optional<QString> XSession::xdotool(const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(ToolTimeoutMs) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QStringList XSession::windowsNamed(const QString& name) const
{
    const auto found = xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                                QStringLiteral("^") + QRegularExpression::escape(name) + QStringLiteral("$")});
    return found ? found->split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
}

std::optional<QRect> XSession::windowGeometry(const QString& windowId) const
{
    const auto text = xdotool({QStringLiteral("getwindowgeometry"), windowId});
    if (!text)
        return std::nullopt;
    // "Window 123\n  Position: 0,0 (screen: 0)\n  Geometry: 640x496\n"
    static const QRegularExpression pattern(
        QStringLiteral(R"(Position:\s*(-?\d+),(-?\d+).*Geometry:\s*(\d+)x(\d+))"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto match = pattern.match(*text);
    if (!match.hasMatch())
        return std::nullopt;
    return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                 match.captured(4).toInt());
}

void XSession::moveTo(QPoint p) const
{
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

void XSession::moveAlong(const std::vector<QPoint>& points) const
{
    // One xdotool run chains all the moves, with a short pause between them
    // so that each reaches the window as a move of its own.
    QStringList chain;
    for (QPoint p : points)
        chain << QStringLiteral("mousemove") << QString::number(p.x()) << QString::number(p.y())
              << QStringLiteral("sleep") << QStringLiteral("0.004");
    xdotool(chain);
}

std::optional<QPoint> XSession::pointer() const
{
    const auto text = xdotool({QStringLiteral("getmouselocation")});
    // "x:12 y:34 screen:0 window:56"
    static const QRegularExpression pattern(QStringLiteral(R"(x:(-?\d+) y:(-?\d+))"));
    const auto match = text ? pattern.match(*text) : QRegularExpressionMatch();
    if (!match.hasMatch())
        return std::nullopt;
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

void XSession::buttonDown() const
{
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
}

void XSession::buttonUp() const
{
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

QImage XSession::screen() const
{
    // One GetImage of the root window over a connection kept open: a few
    // milliseconds, where a screenshot program took a tenth of a second.
    if (!screenLink_) {
        screenLink_ = xcb_connect(display_.toLocal8Bit().constData(), nullptr);
        if (xcb_connection_has_error(screenLink_)) {
            xcb_disconnect(screenLink_);
            screenLink_ = nullptr;
            return {};
        }
    }
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(screenLink_)).data;
    const int width = root->width_in_pixels, height = root->height_in_pixels;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        screenLink_, xcb_get_image(screenLink_, XCB_IMAGE_FORMAT_Z_PIXMAP, root->root, 0, 0, width, height, ~0u),
        nullptr);
    if (!reply)
        return {};
    // Xvfb's depth 24 comes as 32 bits a pixel, blue first: QImage's RGB32.
    QImage image;
    if (reply->depth == 24 && xcb_get_image_data_length(reply) == width * height * 4) {
        image = QImage(width, height, QImage::Format_RGB32);
        const std::uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < height; ++y)
            std::memcpy(image.scanLine(y), data + std::size_t(y) * width * 4, std::size_t(width) * 4);
    }
    std::free(reply);
    return image;
}

} // namespace zw::e2e
