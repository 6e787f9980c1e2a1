#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// A private PulseAudio server whose default sink is a null sink, so that
// whatever a program plays can be recorded from the sink's monitor. The X
// display's bell plays a tone on the same sink, so beeps are recorded too.
class PulseServer {
public:
    static constexpr int kRate = 44100;
    // A stretch of sound with at least 50 ms of silence around it. Its pitch
    // is told by the zero crossings in its first 60 ms.
    struct Burst {
        double startMs = 0;
        double lengthMs = 0;
        double crossingsPerMs = 0;
    };

    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // Starts the server; when none can be started, says why.
    bool start(QString* why);
    // The null sink, and the bell of the X `display` playing on it.
    bool setUp(const QString& display);
    // What a client puts in PULSE_SERVER to play here.
    QString address() const;
    bool startRecording();
    // Ends the recording; its samples, mono at kRate.
    std::vector<qint16> stopRecording();

    static QList<Burst> bursts(const std::vector<qint16>& samples, int rate);
    // The burst a WAV file should give: its whole length, and its pitch.
    static Burst fileBurst(const QString& path);
    static QString describe(const QList<Burst>& bursts);
    // A steady tone with 10 ms fades at both ends, as 16-bit WAV.
    static bool writeTone(const QString& path, double hz, double seconds, int rate, int channels);

private:
    bool pactl(const QString& command);
    QProcessEnvironment environment() const;
    void stop(QProcess& process);

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
};
