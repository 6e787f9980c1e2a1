#pragma once

#include <QString>

#include <vector>

// The two page-turn sounds: soft two-note chimes, rising for the forward button and
// falling for the backward one, so that a child hears which way the book went.
class Sounds {
public:
    static constexpr int sampleRate = 22050;

    static std::vector<short> chime(double firstHz, double secondHz);
    // sonido1.wav, sonido2.wav
    static void writeAll(const QString& dir);
};
