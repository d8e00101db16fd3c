#include "view/GameWindow.h"

#include "game/Game.h"
#include "base/RuntimeError.h"
#include "platform/GameMessageBox.h"
#include "view/ClickLabel.h"
#include "view/CodeBox.h"
#include "view/MouseMapping.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace zw::view {

namespace {

constexpr int TimerIntervalMs = 50;
constexpr int StripTop = PictureHeight;
const QColor FrameYellow(255, 255, 0);
constexpr qreal FrameWidth = 3;

// The pixels a frame line may cover: its end points grown by the pen's
// reach (half the width, the square cap, and a pixel for rounding).
QRect lineExtent(const LineShape& line)
{
    const QRectF ends = QRectF(QPointF(line.X1, line.Y1), QPointF(line.X2, line.Y2)).normalized();
    return ends.adjusted(-FrameWidth, -FrameWidth, FrameWidth, FrameWidth).toAlignedRect();
}

bool sameLine(const LineShape& a, const LineShape& b)
{
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}

} // namespace

GameWindow::GameWindow(Game& game, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      game_(game),
      gate_([this](const QString& text) {
          // Nothing may tick on behind the box.
          pauseTimer();
          if (errorBox_)
              errorBox_(text);
      }),
      errorBox_([](const QString& text) { platform::showGameMessageBox(text, QMessageBox::Critical); })
{
    setWindowTitle(GameTitle);
    setFixedSize(ClientWidth, ClientHeight);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    // paintEvent covers every pixel it is asked for.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Tests of the real window compare what the rules read under the pointer
    // with the screen: each move then tells the screen pixel and its colour.
    tracePointer_ = qEnvironmentVariableIsSet("ZIGWALK_TRACE_POINTER");

    // Created back to front: the deaths line, the status line, then the code
    // box, which always lies above everything else.
    label2_ = new ClickLabel(ClickLabel::Anchor::Right, 633, StripTop, this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label1_ = new ClickLabel(ClickLabel::Anchor::Left, 8, StripTop, this);
    label1_->setObjectName(QStringLiteral("Label1"));
    frame1_ = new CodeBox(this);
    frame1_->hide();

    const Controls& controls = game_.controls();
    label2_->setCaption(controls.Label2Caption);
    label1_->setCaption(controls.Label1Caption);
    label1_->setToolTip(controls.Label1ToolTip);
    frame1_->setText(controls.Text1Text);
    shownText1_ = controls.Text1Text;
    shownLines_ = controls.Line;

    timer1_.setParent(this);
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(TimerIntervalMs);
    timer1_.setTimerType(Qt::PreciseTimer);

    connect(&timer1_, &QTimer::timeout, this, &GameWindow::timer1Tick);
    connect(label1_, &ClickLabel::clicked, this, &GameWindow::label1Clicked);
    connect(label2_, &ClickLabel::clicked, this, &GameWindow::label2Clicked);
    connect(frame1_, &CodeBox::edited, this, &GameWindow::codeEdited);
    connect(frame1_, &CodeBox::submitted, this, &GameWindow::codeSubmitted);
}

GameWindow::~GameWindow() = default;

void GameWindow::load()
{
    deliver([this] {
        game_.Form_Load();
        // The window's icon is the run pointer's picture.
        setWindowIcon(QIcon(QPixmap::fromImage(game_.Form2().Picture1())));
    });
}

void GameWindow::setErrorBox(HandlerGate::ErrorBox box)
{
    errorBox_ = std::move(box);
}

void GameWindow::pauseTimer()
{
    timer1_.stop();
}

void GameWindow::deliver(const std::function<void()>& handler)
{
    if (game_.ended())
        return;
    if (!gate_.run(handler))
        return; // another handler is still running: this event is dropped
    showControls();
    if (game_.ended()) {
        // Only a stand-in platform lets the game end without ending the
        // process; the window then just goes away.
        timer1_.stop();
        if (!closing_)
            close();
    }
}

void GameWindow::showControls()
{
    const Controls& controls = game_.controls();
    QRegion dirty;
    showPicture(dirty);
    showLines(dirty);
    if (!dirty.isEmpty())
        update(dirty);
    lastRepaint_ = dirty;

    label1_->setCaption(controls.Label1Caption);
    label2_->setCaption(controls.Label2Caption);
    if (label1_->toolTip() != controls.Label1ToolTip)
        label1_->setToolTip(controls.Label1ToolTip);
    if (controls.Text1Text != shownText1_) {
        frame1_->setText(controls.Text1Text);
        shownText1_ = controls.Text1Text;
    }
    if (controls.Frame1Visible != frame1_->isVisibleTo(this)) {
        frame1_->setVisible(controls.Frame1Visible);
        if (controls.Frame1Visible)
            frame1_->focusText();
    }
    showCursor();
    followTimer();
}

void GameWindow::showPicture(QRegion& dirty)
{
    const QImage& picture = game_.controls().Picture;
    if (picture.cacheKey() == shownPictureKey_)
        return;
    shownPictureKey_ = picture.cacheKey();
    shownImage_ = picture;
    picture_ = QPixmap(); // made for the screen at the next paint
    dirty += QRect(QPoint(0, 0), picture.size());
}

void GameWindow::showLines(QRegion& dirty)
{
    const auto& lines = game_.controls().Line;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!sameLine(lines[i], shownLines_[i])) {
            dirty += lineExtent(shownLines_[i]);
            dirty += lineExtent(lines[i]);
            shownLines_[i] = lines[i];
        }
    }
}

void GameWindow::showCursor()
{
    const PointerPicture wanted = game_.controls().Cursor;
    if (shownCursor_ == wanted)
        return;
    try {
        setCursor(cursorFor(wanted));
        shownCursor_ = wanted;
    } catch (const RuntimeError&) {
        // The store could not be made; the handler that needed it has
        // already reported that, and the old pointer stays.
    }
}

const QCursor& GameWindow::cursorFor(PointerPicture picture)
{
    // Both pointers are made once: the store's pointer pictures never change.
    auto& cursor = picture == PointerPicture::Picture1 ? runCursor_ : idleCursor_;
    if (!cursor) {
        const QImage& image =
            picture == PointerPicture::Picture1 ? game_.Form2().Picture1() : game_.Form2().Picture2();
        cursor.emplace(QPixmap::fromImage(image), 16, 16);
    }
    return *cursor;
}

void GameWindow::followTimer()
{
    const bool enabled = game_.controls().Timer1Enabled && !game_.ended();
    // A running timer is left alone: restarting it would shift its beat.
    if (enabled && !timer1_.isActive())
        timer1_.start();
    else if (!enabled && timer1_.isActive())
        timer1_.stop();
}

void GameWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.fillRect(event->rect(), Qt::black);
    // The picture goes on screen pixel for pixel as the pointer reads it,
    // made again whenever the desktop scale changes under the window.
    const double scale = devicePixelRatioF();
    if (!shownImage_.isNull() && (picture_.isNull() || picture_.devicePixelRatio() != scale))
        picture_ = QPixmap::fromImage(pictureOnScreen(shownImage_, scale));
    if (!picture_.isNull())
        painter.drawPixmap(QPointF(0, 0), picture_);

    // The frame's edges in the order they were laid out: left, top, right, bottom.
    painter.setPen(QPen(FrameYellow, FrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const auto& lines = shownLines_;
    for (int i : {1, 0, 2, 3})
        painter.drawLine(QLineF(lines[i].X1, lines[i].Y1, lines[i].X2, lines[i].Y2));
}

QPointF GameWindow::pointerSpot(const QMouseEvent& event) const
{
    // Qt rounds position() to a whole window pixel; the place in the top-level
    // window keeps the pointer's fraction, which at a scale above 1 tells
    // which screen pixel the pointer is on.
    QPointF exact = event.scenePosition() - QPointF(mapTo(window(), QPoint(0, 0)));
    if (std::abs(exact.x() - event.position().x()) > 1 || std::abs(exact.y() - event.position().y()) > 1)
        exact = event.position(); // an event made by hand, without a place in the window
    const double scale = devicePixelRatioF();
    const QPointF spot = pictureSpot(exact, scale);
    if (tracePointer_) {
        const int dx = devicePixelAt(exact.x() * scale);
        const int dy = devicePixelAt(exact.y() * scale);
        std::fprintf(stderr, "zigwalk-pointer %d %d %06x\n", dx, dy,
                     unsigned(game_.Point(float(spot.x()), float(spot.y()))) & 0xFFFFFFu);
        std::fflush(stderr);
    }
    return spot;
}

void GameWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const auto button = buttonBits(event->button());
    const auto shift = shiftBits(event->modifiers());
    const QPointF spot = pointerSpot(*event);
    const auto x = static_cast<float>(spot.x());
    const auto y = static_cast<float>(spot.y());
    deliver([&] { game_.Form_MouseDown(button, shift, x, y); });
}

void GameWindow::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const auto buttons = buttonBits(event->buttons());
    const auto shift = shiftBits(event->modifiers());
    const QPointF spot = pointerSpot(*event);
    const auto x = static_cast<float>(spot.x());
    const auto y = static_cast<float>(spot.y());
    deliver([&] { game_.Form_MouseMove(buttons, shift, x, y); });
}

void GameWindow::mouseReleaseEvent(QMouseEvent* event)
{
    // The game notices a release only in the button state of later moves.
    event->accept();
}

void GameWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt hands the second press of a quick double click over as this event
    // instead of a press. It is a press all the same: a player who presses
    // the start spot twice in quick succession pressed it twice.
    mousePressEvent(event);
}

void GameWindow::closeEvent(QCloseEvent* event)
{
    if (!game_.ended()) {
        if (gate_.busy()) {
            // Closing in the middle of a handler (its box is open) waits:
            // the player can close again once the handler is done.
            event->ignore();
            return;
        }
        closing_ = true;
        deliver([this] { game_.Form_Unload(); });
    }
    timer1_.stop();
    event->accept();
}

void GameWindow::timer1Tick()
{
    deliver([this] { game_.Timer1_Timer(); });
}

void GameWindow::label1Clicked()
{
    deliver([this] { game_.Label1_Click(); });
}

void GameWindow::label2Clicked()
{
    deliver([this] { game_.Label2_Click(); });
}

void GameWindow::codeEdited(const QString& text)
{
    // The game reads the text box when the code is confirmed; keep it current.
    shownText1_ = text;
    game_.controls().Text1Text = text;
}

void GameWindow::codeSubmitted()
{
    deliver([this] {
        game_.controls().Text1Text = frame1_->text();
        shownText1_ = frame1_->text();
        game_.Command1_Click();
    });
}

} // namespace zw::view
