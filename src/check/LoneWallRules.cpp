// No white specks in a maze: a little island of wall standing in the path
// looks like dust on the screen, yet it kills the run like any wall. A wall
// is either part of a shape the player can see from afar or it is not there.
//
// Only the maze below the badge row is looked at: the holes of the letters
// in the top strip and the badge are white islands by nature.

#include "check/Rules.h"

namespace zw::check {

void checkLoneWalls(const PictureInfo&, const KeyMap& keys, Findings& out)
{
    const int firstRow = area::badge.bottom() + 1;
    // Pieces of white as the pointer meets them: white that touches only at
    // a corner is another piece.
    for (const KeyMap::Piece& piece : keys.piecesOf(Key::Wall, KeyMap::Touch::Sides)) {
        if (piece.bounds.top() < firstRow || piece.size >= wall::leastPiece)
            continue;
        out.add(QStringLiteral("white speck"),
                QStringLiteral("a piece of wall of %1 px (< %2) stands alone in %3")
                    .arg(piece.size)
                    .arg(wall::leastPiece)
                    .arg(boxText(piece.bounds)),
                piece.first);
    }
}

} // namespace zw::check
