#pragma once

#include <QString>

#include <vector>

// 16-bit PCM mono WAV files.
class WavWriter {
public:
    static void write(const QString& path, const std::vector<short>& samples, int sampleRate);
};
