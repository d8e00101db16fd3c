#pragma once
// Where the random players get their decisions from. A seeded generator for
// the long runs of the test suite; the bytes of a fuzzer's input for the
// fuzz targets, so that libFuzzer steers the very same player.

#include <cstddef>
#include <cstdint>
#include <random>

namespace zw::reliability {

class Choices {
public:
    virtual ~Choices() = default;
    // A number from 0 to n - 1 (n >= 1).
    virtual std::uint32_t below(std::uint32_t n) = 0;
    // No more decisions to give: the player stops here.
    virtual bool exhausted() const = 0;

    bool oneIn(std::uint32_t n) { return below(n) == 0; }
};

// mt19937_64's output is fixed by the standard, and the reduction below is
// plain arithmetic, so a seed replays the same game with any compiler.
class SeededChoices final : public Choices {
public:
    explicit SeededChoices(std::uint64_t seed) : random_(seed) {}
    std::uint32_t below(std::uint32_t n) override { return std::uint32_t(random_() % n); }
    bool exhausted() const override { return false; }

private:
    std::mt19937_64 random_;
};

class ByteChoices final : public Choices {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // One byte for small ranges, two for larger ones; zeros once the input
    // is used up.
    std::uint32_t below(std::uint32_t n) override
    {
        std::uint32_t value = next();
        if (n > 256)
            value = value << 8 | next();
        return value % n;
    }
    bool exhausted() const override { return position_ >= size_; }

private:
    std::uint32_t next() { return position_ < size_ ? data_[position_++] : 0; }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace zw::reliability
