#include "e2e/PulseServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cmath>
#include <sndfile.h>

PulseServer::PulseServer() = default;

PulseServer::~PulseServer()
{
    stop(m_recorder);
    stop(m_server);
}

void PulseServer::stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

QString PulseServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

QProcessEnvironment PulseServer::environment() const
{
    // A private runtime folder and home, so that nothing of the user's own
    // sound setup is read or written, even when the tests run as root.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("PULSE_SERVER"), address());
    return env;
}

bool PulseServer::pactl(const QString& command)
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("pactl"), command.split(QLatin1Char(' ')));
    return tool.waitForFinished(5000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

bool PulseServer::start(QString* why)
{
    const QString log = m_dir.filePath(QStringLiteral("pulse.log"));
    m_server.setProcessEnvironment(environment());
    m_server.setStandardErrorFile(log);
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                    QStringLiteral("-L"),
                    QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") +
                        m_dir.filePath(QStringLiteral("native"))});
    QDeadlineTimer deadline(10000);
    while (!pactl(QStringLiteral("info"))) {
        if (deadline.hasExpired() || !m_server.waitForStarted(0) ||
            m_server.state() == QProcess::NotRunning) {
            QFile file(log);
            file.open(QIODevice::ReadOnly);
            *why = QStringLiteral("no audio server could be started (pulseaudio, from "
                                  "scripts/setup.sh): %1 %2")
                       .arg(m_server.errorString(), QString::fromLocal8Bit(file.readAll()));
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

bool PulseServer::setUp(const QString& display)
{
    // No rewinds: the monitor then records a stream exactly as far as it was
    // played, not as far as it had been handed over.
    const QString bell = m_dir.filePath(QStringLiteral("bell.wav"));
    return pactl(QStringLiteral("load-module module-null-sink sink_name=tintaro norewinds=1")) &&
           pactl(QStringLiteral("load-module module-x11-bell sample=bell display=") + display) &&
           writeTone(bell, 1500, 0.15, 22050, 1) &&
           pactl(QStringLiteral("upload-sample %1 bell").arg(bell));
}

bool PulseServer::startRecording()
{
    m_recorder.setProcessEnvironment(environment());
    m_recorder.setStandardOutputFile(m_dir.filePath(QStringLiteral("monitor.raw")));
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("--device=tintaro.monitor"), QStringLiteral("--raw"),
                      QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                      QStringLiteral("--rate=%1").arg(kRate), QStringLiteral("--latency-msec=20")});
    if (!m_recorder.waitForStarted(5000))
        return false;
    QThread::msleep(300); // the stream is connected by then
    return m_recorder.state() == QProcess::Running;
}

std::vector<qint16> PulseServer::stopRecording()
{
    stop(m_recorder);
    QFile file(m_dir.filePath(QStringLiteral("monitor.raw")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray raw = file.readAll();
    std::vector<qint16> samples(size_t(raw.size()) / 2);
    memcpy(samples.data(), raw.constData(), samples.size() * 2);
    return samples;
}

QList<PulseServer::Burst> PulseServer::bursts(const std::vector<qint16>& samples, int rate)
{
    constexpr int kThreshold = 16;
    const size_t gap = size_t(rate) / 20;
    QList<Burst> found;
    size_t first = 0;
    size_t last = 0;
    bool inside = false;
    auto close = [&] {
        int crossings = 0;
        const size_t end = std::min(last, first + size_t(rate) * 60 / 1000);
        for (size_t i = first + 1; i <= end; ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        found.append({1000.0 * double(first) / rate, 1000.0 * double(last - first) / rate,
                      crossings / (1000.0 * double(end - first) / rate)});
    };
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) <= kThreshold)
            continue;
        if (inside && i - last > gap)
            close();
        if (!inside || i - last > gap)
            first = i;
        inside = true;
        last = i;
    }
    if (inside)
        close();
    return found;
}

PulseServer::Burst PulseServer::fileBurst(const QString& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<qint16> frames(size_t(info.frames * info.channels));
    sf_readf_short(file, frames.data(), info.frames);
    sf_close(file);
    std::vector<qint16> first; // the first channel is enough
    for (size_t i = 0; i < frames.size(); i += size_t(info.channels))
        first.push_back(frames[i]);
    const QList<Burst> found = bursts(first, info.samplerate);
    return {0, 1000.0 * double(info.frames) / info.samplerate,
            found.isEmpty() ? 0 : found.first().crossingsPerMs};
}

QString PulseServer::describe(const QList<Burst>& bursts)
{
    QStringList parts;
    for (const Burst& burst : bursts)
        parts << QStringLiteral("%1 ms at %2 ms (%3 crossings/ms)")
                     .arg(burst.lengthMs, 0, 'f', 1)
                     .arg(burst.startMs, 0, 'f', 0)
                     .arg(burst.crossingsPerMs, 0, 'f', 2);
    return parts.join(QStringLiteral("; "));
}

bool PulseServer::writeTone(const QString& path, double hz, double seconds, int rate, int channels)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto count = sf_count_t(seconds * rate);
    std::vector<qint16> frames;
    for (sf_count_t i = 0; i < count; ++i) {
        const double fade =
            std::min({1.0, double(i) / (0.01 * rate), double(count - i) / (0.01 * rate)});
        const double value = 0.5 * fade * std::sin(2 * M_PI * hz * double(i) / rate);
        frames.insert(frames.end(), size_t(channels), qint16(std::lround(value * 32767)));
    }
    const bool ok = sf_writef_short(file, frames.data(), count) == count;
    return sf_close(file) == 0 && ok;
}
