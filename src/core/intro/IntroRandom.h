#pragma once

#include <cstdint>

// The intro window's pseudo-random generator (splitmix64). It always starts
// from the same state, so every run, on every platform, draws the same
// sequence: only fixed-width integer arithmetic is used, and the conversion
// to [0, 1) takes the top 53 bits, which a double holds exactly.
class IntroRandom {
public:
    static constexpr std::uint64_t kStartState = 0x5469'6E74'6172'6F21ull; // "Tintaro!"

    IntroRandom() = default;

    // The next 64 raw bits.
    std::uint64_t nextBits();

    // The next value, uniform in [0, 1).
    double next();

private:
    std::uint64_t m_state = kStartState;
};
