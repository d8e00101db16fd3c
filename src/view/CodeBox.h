#pragma once
// The level-code box: a dark grey panel holding the text box where the
// player types a code and confirms it with Enter. Its "OK" button lies above
// the panel's visible area, so it is never seen; Enter does its job. Mouse
// events over the panel stay with it and never reach the window's rules.

#include <QFrame>
#include <QString>

class QLineEdit;
class QPushButton;

namespace zw::view {

class CodeBox : public QFrame {
    Q_OBJECT
public:
    // The box holds this many characters at most, over five times the
    // longest code. The text box lays out its whole line on every key, so
    // without a limit a flood of typing grows slower with every character
    // and keeps the window from answering the mouse.
    static constexpr int MaxLength = 64;

    explicit CodeBox(QWidget* parent);

    // Puts text into the text box; the cursor goes to its end.
    void setText(const QString& text);
    QString text() const;

    // Gives the text box the keyboard focus, so the player can type at once
    // over the prompt.
    void focusText();

    // Shown, the box's text field and button may take the keyboard; hidden,
    // neither may, and neither keeps it. A hidden box that kept the focus
    // would take every key typed later in the game unseen, and a stray Enter
    // would submit whatever it held: back to a level played long ago.
    void setVisible(bool visible) override;

signals:
    void edited(const QString& text); // the player changed the text
    void submitted();                 // Enter in the text box (or the OK button)

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void acceptKeyboard(bool accept);

    QLineEdit* text1_;
    QPushButton* command1_;
};

} // namespace zw::view
