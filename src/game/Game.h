#pragma once
// The game window's logic: its state record, its controls as a model, and
// every event handler and private procedure. It runs without an event loop;
// the Qt window forwards events here and draws what the controls say.
//
// The handlers live in the file of the subsystem that owns them:
//   game/FormLifecycle.cpp  Form_Load, Form_Unload, the colour query, the store, the end
//   game/Dispatcher.cpp     Form_MouseDown, Form_MouseMove (the twelve rules)
//   game/LevelFlow.cpp      NextLevel, HitWall, NewGame, UpdateCursor, the deaths line
//   ui/FrameAnimation.cpp   MoveFrame, Timer1_Timer
//   ui/LanguageSwitch.cpp   Label1_Click
//   save/SavedProgress.cpp  SaveProgress, LoadGame
//   extras/LevelCodes.cpp   the codes, OpenHomePage, Command1_Click
//   extras/Music.cpp        music start and stop, Label2_Click

#include "base/ColorKey.h"
#include "base/Levels.h"
#include "assets/PictureStore.h"
#include "game/Controls.h"
#include "game/GameState.h"
#include "base/LevelSet.h"
#include "game/Platform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace zw {

class Game {
public:
    using StoreFactory = std::function<std::unique_ptr<PictureStore>()>;

    // The store is created on first use through makeStore (by default the
    // pictures built into the program). levels says how many mazes the store
    // holds and where their progress is saved.
    explicit Game(Platform& platform, StoreFactory makeStore = {}, LevelSet levels = {});
    ~Game();

    // Events of the game window. Any of them may throw RuntimeError; the
    // caller reports it and the game goes on with the state as it was left.
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(std::int16_t button, std::int16_t shift, float X, float Y);
    void Form_MouseMove(std::int16_t button, std::int16_t shift, float X, float Y);
    void Label1_Click();
    void Label2_Click();
    void Command1_Click();
    void Timer1_Timer();

    // The window's colour query: the shown picture's pixel for x 0..639 and
    // y 0..479, the black background for y 480..495, NoColour elsewhere.
    Colour Point(float X, float Y) const;
    // How often Point has been asked: the rules ask afresh before every test,
    // so this tells how many tests an event ran.
    std::uint64_t colourQueries() const { return colourQueries_; }

    // The program has ended (quit item or closing the window): no further
    // handler runs.
    bool ended() const { return ended_; }

    GameState& state() { return state_; }
    const GameState& state() const { return state_; }
    Controls& controls() { return controls_; } // the view writes Text1Text as the player types
    const Controls& controls() const { return controls_; }
    PictureStore& Form2(); // created on first use
    const LevelSet& levels() const { return levels_; }

    // Codes of levels 1 to the closing picture, in the order they are compared.
    static const std::array<QString, ClosingLevel>& levelCodes();

private:
    void mouseRules(std::int16_t button, float X, float Y);
    void NextLevel();
    void HitWall();
    void NewGame();
    void UpdateCursor();
    void MoveFrame();
    void LoadGame();
    void SaveProgress();
    void OpenHomePage();

    void setDeathsLine();       // Label2 = Texts(Lang, 6) & Deaths
    bool musicFileExists();     // music.mid in the program's directory
    void startMusic();          // last step of Form_Load
    void stopMusic();           // first step of Form_Unload
    void endProgram();

    Platform& platform_;
    StoreFactory makeStore_;
    LevelSet levels_;
    std::unique_ptr<PictureStore> form2_;
    GameState state_;
    Controls controls_;
    bool ended_ = false;
    bool lastSaveFailed_ = false; // a failing save is told when saving stops working, not on every death
    bool pageOpenedThisPress_ = false; // the home page was opened during the left button's current press
    mutable std::uint64_t colourQueries_ = 0;
};

} // namespace zw
