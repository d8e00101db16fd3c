// A long random session in virtual time, with the resident memory sampled
// as it goes: after warming up, it stays flat. The game holds everything it
// needs from the start (pictures are decoded once, texts are fixed), so any
// growth would be a leak.

#include "RandomPlay.h"

#include <QByteArray>
#include <cstdio>
#include <iostream>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace zw::reliability {
namespace {

// Resident memory of this process in kilobytes.
long residentKb()
{
    long total = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    const int read = std::fscanf(statm, "%ld %ld", &total, &resident);
    std::fclose(statm);
    return read == 2 ? resident * (::sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// make test plays a million events; make soak asks for more.
std::uint64_t soakEvents()
{
    const QByteArray wanted = qgetenv("ZIGWALK_SOAK_EVENTS");
    return wanted.isEmpty() ? 1000000 : wanted.toULongLong();
}

TEST(Soak, AMillionEventsInVirtualTimeKeepTheMemoryFlat)
{
    constexpr std::uint64_t SampleEvery = 100000;
    constexpr std::uint64_t WarmUp = 200000;
    // Room for the allocator's own moods, far below what a leak of a few
    // bytes an event would cost over the session.
    constexpr long AllowedGrowthKb = 1024;

#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer holds freed memory back on purpose, so resident
    // memory grows there whatever the game does; its leak checker covers
    // this build instead.
    GTEST_SKIP() << "resident memory is the address sanitizer's, not the game's";
#endif
    const std::uint64_t events = soakEvents();
    ASSERT_GE(residentKb(), 0) << "no /proc/self/statm";
    SeededChoices choices(5150);
    RandomPlay play(choices);
    std::vector<long> samples;
    long baseline = -1;
    for (std::uint64_t i = 1; i <= events; ++i) {
        if (const auto complaint = play.step())
            FAIL() << "seed 5150, event " << i << ": " << *complaint << "\nlast events:\n" << play.recentEvents();
        if (i % SampleEvery == 0) {
            samples.push_back(residentKb());
            if (i == WarmUp)
                baseline = samples.back();
        }
    }
    ASSERT_GE(baseline, 0) << "the session is shorter than its warm-up";

    std::cout << "resident memory (KB) every " << SampleEvery << " events:";
    for (long kb : samples)
        std::cout << ' ' << kb;
    std::cout << "\n";
    for (std::size_t i = WarmUp / SampleEvery; i < samples.size(); ++i)
        EXPECT_LE(samples[i] - baseline, AllowedGrowthKb) << "after " << (i + 1) * SampleEvery << " events";
    EXPECT_GT(play.counts().saves, 5000u) << "the session saved all along";
}

} // namespace
} // namespace zw::reliability
