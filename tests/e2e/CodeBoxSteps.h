#pragma once
// The level-code box on the real window, for the tests that use it: the
// menu's spots, uncovering the box behind the home-page link, typing a code
// into it, and telling from the screen whether it shows.

#include "PlaySteps.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

namespace zw::e2e {

// The status line as far as the version line reaches; it can be clicked
// once it has text.
inline const QRect StatusLine(8, 480, 400, 13);
// The home-page address in the menu's top right corner.
inline const QRect HomePageText(452, 2, 186, 13);
// The level-code box: a dark grey panel around the text field.
inline const QRect CodeBoxArea(48, 224, 185, 49);
inline const QRgb PanelGrey = qRgb(64, 64, 64);

class CodeBoxTest : public PlayingTest {
protected:
    const QImage menu = picture(QStringLiteral("menu-cs"));

    // Waits for the game's window with the Czech menu.
    void startAtMenu(RunningGame& game);

    QPoint spotOf(const QImage& picture, Colour colour);

    // A pixel of the home-page address (not the maker's name at the left).
    QPoint homePageSpot();

    // On the menu: a press on the logo's red, then on the link, uncovers the
    // box; the window gets the keyboard.
    void openCodeBox(const GameHome& home);

    // Types a code into the focused box at a typist's pace and confirms it.
    void typeCode(const QString& code);

    // Waits until the game has handled every event sent so far, while the
    // status line shows something other than the version line: a hover over
    // black brings the version line, and the game handles events in order.
    void settle(const QImage& shownPicture);

    bool codeBoxShown() const;
};

} // namespace zw::e2e
