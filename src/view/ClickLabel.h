#pragma once
// A one-line text label on the black strip: white text on a transparent
// background, always exactly as wide as its caption, with one edge held in
// place (the status line grows to the right from its left edge, the deaths
// line grows to the left from its right edge). Every mouse event over it is
// the label's own: none of them reaches the window's rules. A press and
// release of the left button over it is a click.

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace zw::view {

class ClickLabel : public QWidget {
    Q_OBJECT
public:
    enum class Anchor { Left, Right };

    static constexpr int LineHeight = 13;

    // For Anchor::Left, edgeX is the label's left edge; for Anchor::Right the
    // first column right of it (x + width stays edgeX).
    ClickLabel(Anchor anchor, int edgeX, int top, QWidget* parent);

    // Where a line's baseline lies, from the top of its 13-pixel line.
    static int baseline(const QFontMetrics& metrics);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void fitToCaption();

    Anchor anchor_;
    int edgeX_;
    int top_;
    QString caption_;
    bool leftPressed_ = false;
};

} // namespace zw::view
