#include "core/intro/IntroRandom.h"

std::uint64_t IntroRandom::nextBits()
{
    m_state += 0x9E37'79B9'7F4A'7C15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBull;
    return z ^ (z >> 31);
}

double IntroRandom::next()
{
    // 2^-53: both the integer and the product are exact doubles.
    return static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
}
