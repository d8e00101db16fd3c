#pragma once
// One start of the program: a fresh game on the menu over whatever store the
// current config folder holds, its saves going to the real store on disk.

#include "support/FixturePictures.h"
#include "support/TestPlatform.h"

#include "game/Game.h"

#include <memory>

namespace zw::test {

class ProgramStart {
public:
    TestPlatform platform;
    Game game{platform, [] { return std::make_unique<PictureStore>(&fixturePicture); }};
    GameState& s = game.state();

    ProgramStart()
    {
        platform.storeIn = TestPlatform::Store::OnDisk;
        game.Form_Load();
    }

    void press(Colour colour)
    {
        const QPointF at = spotOf(colour);
        game.Form_MouseDown(1, 0, float(at.x()), float(at.y()));
    }

    // Lets the timer run until the sweep has swapped in the new picture;
    // the mark of the picture then shown.
    int sweep()
    {
        for (int tick = 0; tick < 200 && s.FrameMode == 5; ++tick)
            game.Timer1_Timer();
        return markOf(game.controls().Picture);
    }

    // The text of every box shown so far.
    QStringList prompts() const
    {
        QStringList texts;
        for (const auto& box : platform.boxes)
            texts << box.prompt;
        return texts;
    }
};

} // namespace zw::test
