#pragma once
// A player with a purpose: starts games, continues them, dies and wins on
// the real pictures, so that the game saves every few events. The targets
// are found by colour, as a person finds them by eye.

#include "Choices.h"
#include "PictureSamples.h"

#include "game/Game.h"

#include <cstdint>

namespace zw::reliability {

class ScriptedPlayer {
public:
    ScriptedPlayer(Game& game, const SampleAtlas& atlas, Choices& choices)
        : game_(game), atlas_(atlas), choices_(choices) {}

    // A press (or a move with these buttons held) on a pixel of that colour
    // of the shown picture. False when the picture has no such colour.
    bool pressOn(Colour colour, std::int16_t button = 1);
    bool moveOn(Colour colour, std::int16_t buttons = 0);

    // Lets the frame tick until a level change has brought its picture in.
    void finishSweep();

    void newGame();      // the new-game item, from the menu
    void continueGame(); // the continue item, from the menu
    void die();          // a live run that touches white
    void win();          // a live run that reaches the goal
    void backToMenu();   // the back-to-menu badge

    // One purposeful move for the picture on screen: on the menu a new game
    // or a continue, on a maze a death, a win or the way back, on the
    // closing picture the way back.
    void playRound();

private:
    bool at(Colour colour, float& x, float& y);

    Game& game_;
    const SampleAtlas& atlas_;
    Choices& choices_;
};

} // namespace zw::reliability
