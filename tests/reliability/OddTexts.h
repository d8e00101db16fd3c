#pragma once
// Texts a player or a damaged disk could put in front of the game: stored
// values that are almost numbers, sets that are almost consistent, and
// codes typed into the level-code box.

#include "Choices.h"
#include "LoadCheck.h"

#include <QString>

namespace zw::reliability {

// One stored value: a whole number, a number in another notation, or text
// that is not a number at all.
QString oddStoredText(Choices& choices);

// Four stored values: a consistent set, one with a single value off, one of
// odd texts, or with keys missing.
StoredTexts damagedSet(Choices& choices);

// What a player types into the level-code box: a right code in any case,
// a near miss, odd Unicode or a very long text.
QString typedCode(Choices& choices);

} // namespace zw::reliability
