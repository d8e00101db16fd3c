#pragma once
// Writing Standard MIDI Files: tracks of timed events, put together as a
// format 1 file (one track per part, all starting at once).

#include <cstdint>
#include <string>
#include <vector>

namespace zw::midi {

using Bytes = std::vector<std::uint8_t>;

class Track {
public:
    void name(const std::string& text);
    // Microseconds per quarter note: 500000 is 120 beats a minute.
    void tempo(int tick, int microsecondsPerQuarter);
    void timeSignature(int tick, int beatsPerBar, int beatUnit);
    void program(int tick, int channel, int program);
    void controller(int tick, int channel, int controller, int value);
    // A note from tick to tick + length.
    void note(int tick, int channel, int key, int velocity, int length);

    // The track chunk, events in time order, closed by its end marker.
    Bytes chunk() const;

private:
    // At one instant, settings go before notes and notes end before new
    // ones begin, so a repeated key is released and struck again.
    enum class Order { Setting, NoteOff, NoteOn };
    struct Event {
        int tick;
        Order order;
        Bytes data;
    };
    void add(int tick, Order order, Bytes data);

    std::vector<Event> events_;
};

// A whole format 1 file; ticksPerQuarter is the time unit of every track.
Bytes file(const std::vector<Track>& tracks, int ticksPerQuarter);

} // namespace zw::midi
