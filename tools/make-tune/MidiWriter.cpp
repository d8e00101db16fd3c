#include "MidiWriter.h"

#include <algorithm>
#include <stdexcept>

namespace zw::midi {

namespace {

void put32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

void put16(Bytes& out, std::uint16_t value)
{
    out.push_back(std::uint8_t(value >> 8));
    out.push_back(std::uint8_t(value));
}

// Delta times are variable-length: seven bits a byte, high bit set on all but the last.
void putVariable(Bytes& out, std::uint32_t value)
{
    Bytes reversed{std::uint8_t(value & 0x7F)};
    while ((value >>= 7) != 0)
        reversed.push_back(std::uint8_t(0x80 | (value & 0x7F)));
    out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

std::uint8_t data7(int value)
{
    if (value < 0 || value > 127)
        throw std::out_of_range("MIDI data byte out of range");
    return std::uint8_t(value);
}

std::uint8_t status(int kind, int channel)
{
    if (channel < 0 || channel > 15)
        throw std::out_of_range("MIDI channel out of range");
    return std::uint8_t(kind | channel);
}

} // namespace

void Track::add(int tick, Order order, Bytes data)
{
    if (tick < 0)
        throw std::out_of_range("MIDI event before the start");
    events_.push_back({tick, order, std::move(data)});
}

void Track::name(const std::string& text)
{
    Bytes data{0xFF, 0x03};
    putVariable(data, std::uint32_t(text.size()));
    data.insert(data.end(), text.begin(), text.end());
    add(0, Order::Setting, std::move(data));
}

void Track::tempo(int tick, int microsecondsPerQuarter)
{
    const auto us = std::uint32_t(microsecondsPerQuarter);
    add(tick, Order::Setting,
        {0xFF, 0x51, 0x03, std::uint8_t(us >> 16), std::uint8_t(us >> 8), std::uint8_t(us)});
}

void Track::timeSignature(int tick, int beatsPerBar, int beatUnit)
{
    int power = 0;
    while ((1 << power) < beatUnit)
        ++power;
    add(tick, Order::Setting, {0xFF, 0x58, 0x04, data7(beatsPerBar), data7(power), 24, 8});
}

void Track::program(int tick, int channel, int program)
{
    add(tick, Order::Setting, {status(0xC0, channel), data7(program)});
}

void Track::controller(int tick, int channel, int controller, int value)
{
    add(tick, Order::Setting, {status(0xB0, channel), data7(controller), data7(value)});
}

void Track::note(int tick, int channel, int key, int velocity, int length)
{
    if (length <= 0)
        throw std::out_of_range("MIDI note without length");
    add(tick, Order::NoteOn, {status(0x90, channel), data7(key), data7(velocity)});
    add(tick + length, Order::NoteOff, {status(0x80, channel), data7(key), 0});
}

Bytes Track::chunk() const
{
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    Bytes body;
    int now = 0;
    for (const Event& event : sorted) {
        putVariable(body, std::uint32_t(event.tick - now));
        body.insert(body.end(), event.data.begin(), event.data.end());
        now = event.tick;
    }
    putVariable(body, 0);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes out{'M', 'T', 'r', 'k'};
    put32(out, std::uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes file(const std::vector<Track>& tracks, int ticksPerQuarter)
{
    Bytes out{'M', 'T', 'h', 'd'};
    put32(out, 6);
    put16(out, 1);
    put16(out, std::uint16_t(tracks.size()));
    put16(out, std::uint16_t(ticksPerQuarter));
    for (const Track& track : tracks) {
        const Bytes chunk = track.chunk();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

} // namespace zw::midi
