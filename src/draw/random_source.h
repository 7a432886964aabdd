#pragma once

#include <cstdint>
#include <functional>

// The low 32 bits of a high-resolution monotonic clock: the seed of every draw.
uint32_t highResolutionClockLow32();

// The program's random numbers: a 32-bit linear congruential generator, reseeded from the
// clock before every draw the program makes. Each draw replaces the seed by
// seed * 134775813 + 1 (mod 2^32); a number below n is the high 32 bits of seed * n.
class RandomSource
{
public:
    using Clock = std::function<uint32_t()>;

    explicit RandomSource(Clock clock = highResolutionClockLow32) : clock_(std::move(clock)) {}

    void reseed() { seed_ = clock_(); }
    void setSeed(uint32_t seed) { seed_ = seed; }
    uint32_t seed() const { return seed_; }

    // A number from 0 to n - 1 (0 when n is 0).
    uint32_t below(uint32_t n)
    {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(seed_) * n) >> 32);
    }

    // A number from a to b - 1, for a <= b.
    int32_t inRange(int32_t a, int32_t b)
    {
        return a + static_cast<int32_t>(below(static_cast<uint32_t>(b - a)));
    }

private:
    Clock clock_;
    uint32_t seed_ = 0;
};
