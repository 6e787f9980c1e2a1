#pragma once

#include <QObject>
#include <QString>
#include <memory>

class SoundOutput;

// Plays a short .wav without blocking. A new sound cuts off the one still
// playing; a missing or unplayable file gives the default beep, every time.
// The system's own way of playing a file is a SoundOutput.
class SoundPlayer : public QObject {
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    void play(const QString& path);
    // Silent: nothing plays, not even the beep; the grown-ups' choice.
    void setSilent(bool silent) { m_silent = silent; }

private:
    bool m_silent = false;
    std::unique_ptr<SoundOutput> m_output;
};
