#pragma once

#include <QString>
#include <memory>

class QObject;

// The system's own way of playing a file: Qt Multimedia on Linux
// (SoundOutputQt.cpp), the multimedia API on Windows (SoundOutputWindows.cpp).
class SoundOutput {
public:
    static std::unique_ptr<SoundOutput> create();
    virtual ~SoundOutput() = default;
    // Plays the file to its end in the background, or beeps when it cannot.
    virtual void play(const QString& path) = 0;
    virtual void stop() = 0;
};
