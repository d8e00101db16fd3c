#pragma once
// A random player that never gets tired: mouse moves and presses with any
// buttons on and off every colour of every picture, timer ticks, clicks on
// both labels, codes typed into the level-code box, closed windows and
// restarts, with damaged or unwritable stores now and then. After every
// event it checks the game's invariants, every save the game writes, and
// every load it performs. Seeded, so a failure comes back on replay.

#include "BuiltInPictures.h"
#include "Choices.h"
#include "LoadCheck.h"
#include "PictureSamples.h"

#include "game/Game.h"

#include <QPointF>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace zw::reliability {

// What a session did, to show that it went everywhere it should.
struct PlayCounts {
    std::uint64_t events = 0, moves = 0, presses = 0, ticks = 0;
    std::uint64_t languageSwitches = 0, musicClicks = 0, codesTyped = 0, codeBoxOpenings = 0;
    std::uint64_t programStarts = 0, closes = 0, quits = 0, kills = 0;
    std::uint64_t levelChanges = 0, deaths = 0, saves = 0, failedSaves = 0, setsChecked = 0;
    std::uint64_t loads = 0, rejectedLoads = 0, damagedStores = 0, unwritableRuns = 0;
    int highestLevel = 0;
};

class RandomPlay {
public:
    RandomPlay(Choices& choices, const PictureStore& pictures = builtInPictures(),
               const SampleAtlas& atlas = builtInAtlas());
    ~RandomPlay();

    // Plays one event and checks everything after it: what is wrong, if anything.
    std::optional<std::string> step();

    // The last few events, oldest first, one a line: what to replay by hand.
    std::string recentEvents() const;

    const PlayCounts& counts() const { return counts_; }
    // A digest of the state, the store and the counts: equal for equal sessions.
    std::uint64_t fingerprint() const;

private:
    struct Event {
        enum class Kind { Move, Press, Tick, Language, Music, Code, Close, Kill } kind;
        std::int16_t button = 0, shift = 0;
        float x = 0, y = 0;
        QString text; // the code typed, for Code

        Event(Kind k) : kind(k) {}
        // A press of the left button alone at a point.
        static Event leftPress(QPointF at);
        static Event code(const QString& typed);
        std::string describe() const;
    };

    void startProgram();
    Event nextEvent();
    Event randomMouse(Event::Kind kind);
    QPointF aim(Colour colour); // a point of that colour on the shown picture, or nowhere
    QPointF anyPoint();
    void queueWin();
    void queueSecretBox();
    void deliver(const Event& event);
    std::optional<std::string> afterEvent(const Event& event, bool isLoad, const StoredTexts& storedBefore,
                                          float levelBefore, float deathsBefore);
    void checkSavedSet(const SavedValues& values);
    void remember(const Event& event);

    Choices& choices_;
    const PictureStore& pictures_;
    const SampleAtlas& atlas_;
    QPointF continueSpot_;
    TestPlatform platform_;
    std::unique_ptr<Game> game_;
    std::deque<Event> queued_;        // the rest of a planned move, a few events at most
    std::uint32_t pendingTicks_ = 0;  // a burst of ticks, one event each
    bool saveFailureShown_ = false;   // in this run of the program
    std::optional<std::string> saveComplaint_;
    std::optional<SavedValues> lastSave_; // of the current event
    PlayCounts counts_;
    std::array<std::string, 12> history_;
    std::size_t historyNext_ = 0;
};

} // namespace zw::reliability
