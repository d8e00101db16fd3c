#include "view/ClickLabel.h"

#include "view/ViewFonts.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace zw::view {

namespace {
// Room around the text: an empty label is still 3 pixels wide, and the text
// starts one pixel in from the left edge.
constexpr int SidePadding = 3;
constexpr int TextInset = 1;
} // namespace

ClickLabel::ClickLabel(Anchor anchor, int edgeX, int top, QWidget* parent)
    : QWidget(parent), anchor_(anchor), edgeX_(edgeX), top_(top)
{
    setFont(labelFont());
    // Moves without a button must stop here too, or they would travel on to
    // the window and run its rules over the label.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
    fitToCaption();
}

int ClickLabel::baseline(const QFontMetrics& metrics)
{
    return (LineHeight + metrics.ascent() - metrics.descent()) / 2;
}

void ClickLabel::setCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    fitToCaption();
    update();
}

void ClickLabel::fitToCaption()
{
    const QFontMetrics metrics(font());
    const QStringList lines = caption_.split(QLatin1Char('\n'));
    int textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const int width = textWidth + SidePadding;
    const int height = LineHeight * static_cast<int>(lines.size());
    const int left = anchor_ == Anchor::Left ? edgeX_ : edgeX_ - width;
    setGeometry(left, top_, width, height);
}

void ClickLabel::paintEvent(QPaintEvent*)
{
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font());
    const QStringList lines = caption_.split(QLatin1Char('\n'));
    // Lines sit 13 pixels apart whatever the font's own line spacing, so the
    // label fits the strip below the picture.
    for (int i = 0; i < lines.size(); ++i) {
        const QRect lineBox(0, i * LineHeight, width(), LineHeight);
        const int baselineY = lineBox.top() + ClickLabel::baseline(metrics);
        const int x = anchor_ == Anchor::Left
                          ? TextInset
                          : width() - SidePadding + TextInset - metrics.horizontalAdvance(lines[i]);
        painter.drawText(QPoint(x, baselineY), lines[i]);
    }
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = leftPressed_;
    leftPressed_ = false;
    // Letting go somewhere else takes the click back.
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit clicked();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt hands a widget the second press of a quick double click as this
    // event and not as a press, so it is that press: two quick clicks on the
    // status line switch the language twice, as two slow ones do.
    mousePressEvent(event);
}

} // namespace zw::view
