#pragma once

#include <QAudio>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QAudioSink;

// Plays a short .wav without blocking. A new sound cuts off the one still
// playing; a missing or unplayable file gives the default beep, every time.
//
// The file is read whole at each play and fed to an audio stream that stays
// open until the server has played it to the end. An audio server holds the
// last part of a stream in its own buffer after the player has handed it
// over; closing the stream at that point (what QSoundEffect does) loses that
// part, a good third of a short chime.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    void play(const QString& path);
    // Silent: nothing plays, not even the beep; the grown-ups' choice.
    void setSilent(bool silent) { m_silent = silent; }

private:
    void stateChanged(QAudio::State state);
    void stopOnceDrained();
    void waitForDrain();
    void stop();

    bool m_silent = false;
    QAudioSink* m_sink = nullptr;
    qint64 m_lengthUs = 0;
    QTimer m_drainCheck;
    QDeadlineTimer m_drainDeadline;
};
