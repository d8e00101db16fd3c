#include "view/GameFrame.h"

#include "platform/CompositorFrames.h"
#include "view/GameWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace zw::view {

namespace {

const QColor TitleBackground(48, 48, 48);
const QColor TitleText(230, 230, 230);
const QColor CloseHover(196, 43, 28);
const QColor ButtonHover(80, 80, 80);
constexpr int ButtonWidth = 40;
constexpr int IconSize = 16;

} // namespace

bool needsGameFrame(const QString& platformName, bool decorationsDisabled, bool compositorFrames)
{
    return platformName.startsWith(QStringLiteral("wayland")) && !decorationsDisabled && !compositorFrames;
}

bool needsGameFrame()
{
    const QString platform = QGuiApplication::platformName();
    if (!platform.startsWith(QStringLiteral("wayland")))
        return false;
    return needsGameFrame(platform, qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"),
                          platform::framesFromCompositor(platform::waylandGlobals()));
}

GameFrame::GameFrame(GameWindow& content)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), content_(content)
{
    setWindowTitle(content_.windowTitle());
    setWindowIcon(content_.windowIcon());
    content_.setParent(this);
    content_.move(0, TitleHeight);
    content_.installEventFilter(this);
    setFixedSize(GameWindow::ClientWidth, GameWindow::ClientHeight + TitleHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont font = this->font();
    font.setBold(true);
    setFont(font);
}

GameFrame::~GameFrame()
{
    // The game window belongs to the session that made it, not to the frame.
    content_.removeEventFilter(this);
    content_.hide();
    content_.setParent(nullptr);
}

QRect GameFrame::closeButton() const
{
    return QRect(width() - ButtonWidth, 0, ButtonWidth, TitleHeight);
}

QRect GameFrame::minimizeButton() const
{
    return closeButton().translated(-ButtonWidth, 0);
}

void GameFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect bar(0, 0, width(), TitleHeight);
    painter.fillRect(bar, TitleBackground);
    if (hoverClose_)
        painter.fillRect(closeButton(), CloseHover);
    if (hoverMinimize_)
        painter.fillRect(minimizeButton(), ButtonHover);

    const QIcon icon = windowIcon();
    if (!icon.isNull())
        icon.paint(&painter, QRect(8, (TitleHeight - IconSize) / 2, IconSize, IconSize));

    painter.setPen(TitleText);
    painter.drawText(bar.adjusted(ButtonWidth * 2, 0, -ButtonWidth * 2, 0), Qt::AlignCenter, windowTitle());

    // The buttons' marks: a cross and a bar, drawn with a 1.5-pixel pen.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(TitleText, 1.5));
    const QPointF c = QRectF(closeButton()).center();
    painter.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
    painter.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    const QPointF m = QRectF(minimizeButton()).center();
    painter.drawLine(m + QPointF(-5, 4), m + QPointF(5, 4));
}

void GameFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (closeButton().contains(at)) {
        close();
        return;
    }
    if (minimizeButton().contains(at))
        showMinimized();
    else if (windowHandle())
        windowHandle()->startSystemMove(); // the compositor moves the window while the button is held
    givePointerBack(*event);
}

void GameFrame::givePointerBack(const QMouseEvent& press)
{
    // The compositor's move grab (and a window that goes away to the task
    // bar) keeps the button's release from us, and until Qt sees one it
    // hands every move to the title bar that was pressed: the game would go
    // deaf to the pointer. A release of our own ends that at once; should
    // the real one come after all, it finds no widget holding the pointer
    // and changes nothing.
    QWindow* handle = windowHandle();
    if (!handle)
        return;
    // Posted, so that it comes after the press has been handled whole.
    QCoreApplication::postEvent(
        handle, new QMouseEvent(QEvent::MouseButtonRelease, press.scenePosition(), press.scenePosition(),
                                press.globalPosition(), press.button(), press.buttons() & ~press.button(),
                                press.modifiers(), press.pointingDevice()));
}

void GameFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const bool overClose = closeButton().contains(at);
    const bool overMinimize = minimizeButton().contains(at);
    if (overClose != hoverClose_ || overMinimize != hoverMinimize_) {
        hoverClose_ = overClose;
        hoverMinimize_ = overMinimize;
        update(0, 0, width(), TitleHeight);
    }
}

void GameFrame::leaveEvent(QEvent*)
{
    if (hoverClose_ || hoverMinimize_) {
        hoverClose_ = hoverMinimize_ = false;
        update(0, 0, width(), TitleHeight);
    }
}

void GameFrame::closeEvent(QCloseEvent* event)
{
    // Closing the frame is closing the game window: it runs Form_Unload, or
    // refuses while one of the game's boxes is open.
    if (content_.isVisible() && !content_.close())
        event->ignore();
    else
        event->accept();
}

bool GameFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &content_) {
        if (event->type() == QEvent::WindowIconChange)
            setWindowIcon(content_.windowIcon());
        else if (event->type() == QEvent::WindowTitleChange)
            setWindowTitle(content_.windowTitle());
        else if (event->type() == QEvent::Hide && !isHidden() && !content_.isVisibleTo(this))
            close(); // the game has ended and its window went away
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zw::view
