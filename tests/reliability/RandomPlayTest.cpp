// Long random games on the real pictures: nothing the player does breaks
// the game's invariants, raises a run-time error, or leaves a save behind
// that the next start would not load.

#include "RandomPlay.h"

#include <QByteArray>

#include <gtest/gtest.h>
#include <iostream>

namespace zw::reliability {
namespace {

// Plays `events` events and stops at the first broken rule, naming the
// seed and the event so that the game can be replayed up to that point.
PlayCounts playOrFail(std::uint64_t seed, std::uint64_t events)
{
    SeededChoices choices(seed);
    RandomPlay play(choices);
    for (std::uint64_t i = 1; i <= events; ++i) {
        if (const auto complaint = play.step()) {
            ADD_FAILURE() << "seed " << seed << ", event " << i << ": " << *complaint << "\nlast events:\n"
                          << play.recentEvents();
            break;
        }
    }
    const PlayCounts& c = play.counts();
    std::cout << "seed " << seed << ": " << c.events << " events, " << c.levelChanges << " level changes, "
              << c.deaths << " deaths, " << c.saves << " saves checked by loading, " << c.failedSaves
              << " failed saves, " << c.loads << " loads (" << c.rejectedLoads << " rejected), "
              << c.codeBoxOpenings << " code boxes, " << c.codesTyped << " codes, " << c.programStarts
              << " starts, highest level " << c.highestLevel << "\n";
    return c;
}

// make test plays 250,000 events a seed; make soak asks for more.
std::uint64_t eventsPerSeed()
{
    const QByteArray wanted = qgetenv("ZIGWALK_RANDOM_EVENTS");
    return wanted.isEmpty() ? 250000 : wanted.toULongLong();
}

class RandomPlayTest : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(RandomPlayTest, KeepsEveryInvariantThroughALongSession)
{
    const PlayCounts counts = playOrFail(GetParam(), eventsPerSeed());

    // The session went everywhere: through levels, deaths, saves that were
    // checked, loads accepted and rejected, the code box, both labels,
    // restarts on damaged and unwritable stores.
    EXPECT_GT(counts.levelChanges, 500u);
    EXPECT_GT(counts.deaths, 100u);
    EXPECT_GT(counts.setsChecked, 500u);
    EXPECT_EQ(counts.setsChecked, counts.saves);
    EXPECT_GT(counts.failedSaves, 0u);
    EXPECT_GT(counts.loads, counts.rejectedLoads);
    EXPECT_GT(counts.rejectedLoads, 0u);
    EXPECT_GT(counts.codeBoxOpenings, 0u);
    EXPECT_GT(counts.codesTyped, 0u);
    EXPECT_GT(counts.languageSwitches, 0u);
    EXPECT_GT(counts.musicClicks, 0u);
    EXPECT_GT(counts.ticks, 10000u);
    EXPECT_GT(counts.quits + counts.closes + counts.kills, 10u);
    EXPECT_GT(counts.damagedStores, 0u);
    EXPECT_GT(counts.unwritableRuns, 0u);
    EXPECT_GE(counts.highestLevel, 10);
}

// Four seeds: a million events in all.
INSTANTIATE_TEST_SUITE_P(Seeds, RandomPlayTest, ::testing::Values(1u, 2u, 3u, 20240611u),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });

TEST(RandomPlayReplay, TheSameSeedPlaysTheSameGame)
{
    std::uint64_t fingerprints[2];
    for (std::uint64_t& fingerprint : fingerprints) {
        SeededChoices choices(77);
        RandomPlay play(choices);
        for (int i = 0; i < 5000; ++i)
            ASSERT_FALSE(play.step());
        fingerprint = play.fingerprint();
    }
    EXPECT_EQ(fingerprints[0], fingerprints[1]);

    SeededChoices other(78);
    RandomPlay play(other);
    for (int i = 0; i < 5000; ++i)
        ASSERT_FALSE(play.step());
    EXPECT_NE(play.fingerprint(), fingerprints[0]);
}

} // namespace
} // namespace zw::reliability
