#pragma once
// Continuing a saved game, judged from the outside: the stored texts go in
// through the continue item of a freshly started game, and what comes out
// (boxes, level, deaths, the save written back) is held against what the
// texts say. Shared by the random player, the damaged-save tables and the
// load fuzzer.

#include "support/TestPlatform.h"

#include "assets/PictureStore.h"

#include <QPointF>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zw::reliability {

using test::SavedValues;
using test::TestPlatform;

// Saw1 to Saw4 as the store holds them; no value means the key is missing.
using StoredTexts = std::array<std::optional<QString>, 4>;

StoredTexts storedTexts(const TestPlatform& platform);
StoredTexts storedTexts(const SavedValues& values);

struct LoadOutcome {
    std::optional<std::string> runtimeError;
    QList<TestPlatform::Box> boxes;
    float levelBefore = 0, deathsBefore = 0;
    float level = 0, deaths = 0;     // after the level change the load ends with
    std::optional<StoredTexts> savedBack; // what the load's level change saved, if it saved
};

// A new start of the program with these texts in the store, then a press on
// the continue item of the menu.
LoadOutcome continueFromMenu(const StoredTexts& stored, const PictureStore& pictures, QPointF continueSpot);

// What the outcome gets wrong for these texts, if anything:
// - no run-time error, ever;
// - a consistent, whole set that a game could have written is accepted, and
//   the game goes on at its level with its deaths and saves them again;
// - nothing else is accepted;
// - a rejected load shows "chyba při načítání, chybná data" (after the
//   level-zero message when the stored level reads 0) and moves the game one
//   level on from where it was (never past the closing picture), with the
//   deaths it had;
// - the level change that ends the load saves the level it goes to, unless
//   saveExpected is false (a store that cannot be written).
std::optional<std::string> judgeLoad(const StoredTexts& stored, const LoadOutcome& outcome,
                                     bool saveExpected = true);

// The texts of a set for messages: Saw1="3" Saw2=<missing> ...
std::string describe(const StoredTexts& stored);

} // namespace zw::reliability
