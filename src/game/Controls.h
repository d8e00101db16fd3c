#pragma once
// The game window's controls as the rules see them: plain values that the
// rules set and the view draws. The view never decides anything; it shows
// what is here and reports events.

#include <QImage>
#include <QString>
#include <array>

namespace zw {

struct LineShape {
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Which picture of the store the pointer shows: Picture1 (red ring, a run is
// on) or Picture2 (green ring, idle).
enum class PointerPicture { Picture1, Picture2 };

struct Controls {
    // Line1 top, Line2 left, Line3 right, Line4 bottom edge of the highlight
    // frame; at creation they surround the first menu item.
    std::array<LineShape, 4> Line{{
        {40, 24, 240, 24},   // Line1
        {40, 104, 40, 24},   // Line2
        {240, 104, 240, 24}, // Line3
        {40, 104, 240, 104}, // Line4
    }};
    LineShape& Line1() { return Line[0]; }
    LineShape& Line2() { return Line[1]; }
    LineShape& Line3() { return Line[2]; }
    LineShape& Line4() { return Line[3]; }
    const LineShape& Line1() const { return Line[0]; }
    const LineShape& Line4() const { return Line[3]; }

    QString Label1Caption;                                // status line
    QString Label1ToolTip;
    QString Label2Caption = QStringLiteral("Počet zabití : 0"); // music and deaths line
    bool Frame1Visible = false;                           // the level-code box
    QString Text1Text = QStringLiteral("zadej heslo...");
    bool Timer1Enabled = false;                           // 50 ms frame timer
    QImage Picture;                                       // the window's picture, shared with the store
    PointerPicture Cursor = PointerPicture::Picture1;
};

} // namespace zw
