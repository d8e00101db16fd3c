#pragma once
// A game on fixture pictures and a fake platform, with the moves a player
// makes: put the pointer on a colour, press, let the timer tick.

#include "support/TestPlatform.h"
#include "support/FixturePictures.h"

#include "game/Game.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zw::test {

// The frame as its four master coordinates.
struct Frame {
    float left, top, right, bottom;
    bool operator==(const Frame&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Frame& f)
{
    return out << "(" << f.left << ", " << f.top << ", " << f.right << ", " << f.bottom << ")";
}

class GameTest : public ::testing::Test {
protected:
    GameTest() = default;
    // A game of fewer mazes saved elsewhere, as a player's folder gives.
    explicit GameTest(LevelSet levels) : levels_(std::move(levels)) {}

    LevelSet levels_;
    TestPlatform platform;
    int storesMade = 0;
    Game game{platform, [this] {
                  ++storesMade;
                  return std::make_unique<PictureStore>(&fixturePicture);
              }, levels_};
    GameState& s = game.state();
    Controls& c = game.controls();

    void load() { game.Form_Load(); }

    void move(Colour colour, std::int16_t buttons = 0)
    {
        const QPointF at = spotOf(colour);
        game.Form_MouseMove(buttons, 0, float(at.x()), float(at.y()));
    }
    void press(Colour colour, std::int16_t button = 1)
    {
        const QPointF at = spotOf(colour);
        game.Form_MouseDown(button, 0, float(at.x()), float(at.y()));
    }
    // On the menu, the level-code box opened, a text typed and confirmed with Enter.
    void enterCode(const QString& typed)
    {
        load();
        press(ColorStart);
        press(ColorLink);
        ASSERT_TRUE(c.Frame1Visible);
        c.Text1Text = typed;
        game.Command1_Click();
    }
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            game.Timer1_Timer();
    }

    // The mark of the picture the window shows: a level, MenuCzech or MenuEnglish.
    int shown() const { return markOf(c.Picture); }

    Frame frame() const { return {c.Line1().X1, c.Line1().Y1, c.Line4().X2, c.Line4().Y2}; }

    // As if the sweep had just brought in a level: its picture shown, the
    // frame resting in the centre, no run on.
    void standOnLevel(int level, float deaths = 0)
    {
        load();
        s.Level = float(level);
        s.Deaths = deaths;
        s.FrameMode = 6;
        c.Picture = game.Form2().Picture3(std::int16_t(level));
    }

    // A press on the start spot: the run is live when the event ends.
    void startRun() { press(ColorStart); }

    QString deathsLine(const QString& count) const { return s.Texts(s.Lang, 6) + count; }

    QString saved(const char* key) const
    {
        return platform.settings.value(QStringLiteral("SaveGame/") + QLatin1String(key), QStringLiteral("<none>"));
    }
};

// Sets the default locale for one test and puts the old one back.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(old_); }

private:
    QLocale old_;
};

} // namespace zw::test
