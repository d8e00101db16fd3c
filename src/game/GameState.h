#pragma once
// The game window's whole state: one record, in this order, alive as long as
// the window. Every field starts at zero; the window's start-up fills it.

#include "game/Numbers.h"
#include "game/Texts.h"

#include <cstdint>

namespace zw {

struct GameState {
    float Deaths = 0;           // deaths in the current game
    flag16 Live = False;        // touching white now counts a death
    flag16 InGame = False;      // a new game was started since the last return to the menu
    flag16 Running = False;     // the start spot was pressed and the run is on
    float Level = 0;            // 0 menu, 1 to 20 mazes, 21 closing picture
    std::uint8_t FrameMode = 0; // target of the highlight frame, 1 to 6
    float TargetX1 = 0, TargetX2 = 0, TargetY1 = 0, TargetY2 = 0;
    float StartX1 = 0, StartX2 = 0, StartY1 = 0, StartY2 = 0;
    float StepX1 = 0, StepX2 = 0, StepY1 = 0, StepY2 = 0;
    float Tick = 0;             // tick of the current frame move, 0 to 10
    TextTable Texts;
    std::uint8_t Lang = 0;      // 0 Czech, 1 English
    float SawLevel = 0, SawDeaths = 0, SawSum = 0, SawMod = 0;
    flag16 LoadFailed = False;
    flag16 MusicOn = False;
};

} // namespace zw
