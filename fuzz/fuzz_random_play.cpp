// The random player of the test suite, steered by libFuzzer: every input is
// a fresh program start, and its bytes are the player's decisions. Any
// broken invariant, run-time error or save the next start would reject
// stops the fuzzer with the events that led there.

#include "Choices.h"
#include "RandomPlay.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zw::reliability;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Decoding the pictures once keeps each input cheap.
    static const SampleAtlas& atlas = builtInAtlas();
    ByteChoices choices(data, size);
    RandomPlay play(choices, builtInPictures(), atlas);
    for (std::uint64_t event = 1; !choices.exhausted(); ++event) {
        if (const auto complaint = play.step()) {
            std::fprintf(stderr, "event %llu: %s\nlast events:\n%s", static_cast<unsigned long long>(event),
                         complaint->c_str(), play.recentEvents().c_str());
            std::abort();
        }
    }
    return 0;
}
