#include "view/CodeBox.h"

#include "view/ViewFonts.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

namespace zw::view {

namespace {
const QColor PanelGrey(64, 64, 64);
} // namespace

CodeBox::CodeBox(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame1"));
    setGeometry(48, 224, 185, 49);
    setFrameShape(QFrame::NoFrame);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, PanelGrey);
    setPalette(panel);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);

    // Placed above the panel's top edge: it exists for the keyboard only.
    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(-32, -40, 41, 37);

    text1_ = new QLineEdit(QStringLiteral("zadej heslo..."), this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(0, 8, 185, 33);
    text1_->setFrame(false);
    text1_->setMaxLength(MaxLength);
    text1_->setFont(codeBoxFont());
    text1_->setCursor(Qt::IBeamCursor);
    QPalette field = text1_->palette();
    field.setColor(QPalette::Base, PanelGrey);
    field.setColor(QPalette::Text, Qt::white);
    text1_->setPalette(field);

    setTabOrder(text1_, command1_);
    acceptKeyboard(false); // the box starts hidden
    // Only a box on screen submits: a key event already queued when the box
    // hid must not reach the game.
    connect(text1_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (isVisible())
            emit edited(text);
    });
    connect(text1_, &QLineEdit::returnPressed, this, [this] {
        if (isVisible())
            emit submitted();
    });
    connect(command1_, &QPushButton::clicked, this, [this] {
        if (isVisible())
            emit submitted();
    });
}

void CodeBox::setVisible(bool visible)
{
    if (visible) {
        acceptKeyboard(true);
        QFrame::setVisible(true);
        return;
    }
    // Taken away before the box hides: Qt would otherwise hand the focus on
    // to the next control in the chain, which is the box's own button.
    acceptKeyboard(false);
    QFrame::setVisible(false);
}

void CodeBox::acceptKeyboard(bool accept)
{
    text1_->setFocusPolicy(accept ? Qt::StrongFocus : Qt::NoFocus);
    command1_->setFocusPolicy(accept ? Qt::StrongFocus : Qt::NoFocus);
    if (!accept) {
        for (QWidget* control : {static_cast<QWidget*>(text1_), static_cast<QWidget*>(command1_)})
            if (control->hasFocus())
                control->clearFocus();
    }
}

void CodeBox::setText(const QString& text)
{
    text1_->setText(text);
}

QString CodeBox::text() const
{
    return text1_->text();
}

void CodeBox::focusText()
{
    text1_->setFocus(Qt::OtherFocusReason);
    // The prompt is selected, so the first key the player types replaces it.
    text1_->selectAll();
}

void CodeBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void CodeBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void CodeBox::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void CodeBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace zw::view
