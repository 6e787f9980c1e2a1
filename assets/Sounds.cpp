#include "Sounds.h"

#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// A bell-like note: a quick attack, then an exponential fade; a quiet octave above
// gives it some shine.
double note(double hz, double t)
{
    if (t < 0.0) {
        return 0.0;
    }
    const double attack = std::min(1.0, t / 0.006);
    const double fade = std::exp(-t * 14.0);
    return attack * fade *
           (std::sin(2 * pi * hz * t) + 0.25 * std::sin(2 * pi * 2 * hz * t) * std::exp(-t * 20));
}

} // namespace

std::vector<short> Sounds::chime(double firstHz, double secondHz)
{
    constexpr double length = 0.32;
    constexpr double secondStart = 0.09;
    const int count = int(length * sampleRate);
    std::vector<short> samples(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / sampleRate;
        double v = 0.45 * note(firstHz, t) + 0.5 * note(secondHz, t - secondStart);
        // Fade out over the last 20 ms so the sound ends without a click.
        const double tail = (length - t) / 0.02;
        v *= std::min(1.0, tail);
        samples[size_t(i)] = short(std::lround(std::clamp(v, -1.0, 1.0) * 26000.0));
    }
    return samples;
}

void Sounds::writeAll(const QString& dir)
{
    // E5 to A5, and A5 down to E5.
    WavWriter::write(dir + "/sonido1.wav", chime(659.26, 880.0), sampleRate);
    WavWriter::write(dir + "/sonido2.wav", chime(880.0, 659.26), sampleRate);
}
