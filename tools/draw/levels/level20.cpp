// Level 20, the last maze: the word SWIMS in five tall, angular capitals.
// Every letter is drawn as one thick black stroke, and the strokes are the
// path itself: from the start at the foot of the first S the way runs along
// the S, over into the W, down and up its four long arms, across to the I,
// down it, along the foot into the M, up and down its arms and on into the
// last S, whose top ends in the goal. Short strokes of the same thickness join
// each letter to the next, so the word is one way without branches.
//
// The strokes are all of one thickness, and every corner is mitred,
// square and sharp. The long arms of the W and the M do not meet in needle
// points: each pair stands on a short flat foot or hangs from a short flat top,
// so the way runs the full height of every arm and keeps its width round the
// turn, and the white between two arms ends in a clean notch.

#include "draw/Pictures.h"

#include <QPointF>
#include <vector>

namespace zw::art {

namespace {

constexpr double Stroke = 9.5;           // thickness of every stroke
constexpr double Top = 61.5, Bottom = 468.5; // centre lines of the letters' top and bottom strokes
constexpr double Middle = (Top + Bottom) / 2;
constexpr double Gap = 27;               // from one letter to the next, centre line to centre line
constexpr double Flat = 15;              // the flat feet and tops where two arms meet

constexpr double StartX = 22.5, StartY = 407.5; // centres of the start and goal discs
constexpr double GoalX = 608.5, GoalY = 104.5;

constexpr double WStep = 25;   // the W's arms each reach this far across
constexpr double MStep = 34;   // the M's slanted arms likewise
constexpr double WWidth = 4 * WStep + 3 * Flat, MWidth = 2 * MStep + 3 * Flat;
// The two S share what is left between the start and the goal.
constexpr double SWidth = (GoalX - StartX - WWidth - MWidth - 4 * Gap) / 2;

} // namespace

Canvas drawLevel20()
{
    Canvas c;
    drawTopStrip(c);
    drawBadge(c, 20);

    // The centre line of the whole way, letter by letter.
    const double s1Left = StartX, s1Right = s1Left + SWidth;
    const double wLeft = s1Right + Gap, wRight = wLeft + WWidth;
    const double iX = wRight + Gap;
    const double mLeft = iX + Gap, mRight = mLeft + MWidth;
    const double s2Left = mRight + Gap, s2Right = GoalX;

    const std::vector<QPointF> way = {
        // S: down from the start to the foot, then round the S bottom to top
        {StartX, StartY},
        {s1Left, Bottom},
        {s1Right, Bottom},
        {s1Right, Middle},
        {s1Left, Middle},
        {s1Left, Top},
        // W: its top line leads on from the S
        {wLeft, Top},
        {wLeft + WStep, Bottom},
        {wLeft + WStep + Flat, Bottom},
        {wLeft + 2 * WStep + Flat, Top},
        {wLeft + 2 * WStep + 2 * Flat, Top},
        {wLeft + 3 * WStep + 2 * Flat, Bottom},
        {wLeft + 3 * WStep + 3 * Flat, Bottom},
        {wRight, Top},
        // I, joined at the top to the W and at the foot to the M
        {iX, Top},
        {iX, Bottom},
        // M
        {mLeft, Bottom},
        {mLeft, Top},
        {mLeft + Flat, Top},
        {mLeft + Flat + MStep, Bottom},
        {mLeft + 2 * Flat + MStep, Bottom},
        {mRight - Flat, Top},
        {mRight, Top},
        {mRight, Bottom},
        // S, its foot led on from the M; its top ends in the goal
        {s2Right, Bottom},
        {s2Right, Middle},
        {s2Left, Middle},
        {s2Left, Top},
        {s2Right, Top},
        {GoalX, GoalY},
    };

    // No corner is sharper than a right angle by much (an arm meeting a flat),
    // so a mitre limit of twice the stroke never clips one.
    c.fillPath(mitredStrokeOf(way, Stroke, 2, Qt::FlatCap), Black);

    drawSpots(c, 20);
    return c;
}

} // namespace zw::art
