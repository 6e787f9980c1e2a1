#include "ui/FailureBoundary.h"
#include "ui/SoundOutput.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>
#include <optional>
#include <sndfile.h>

namespace {

// Samples at most, about six minutes of 48 kHz stereo: a longer file beeps
// instead of being read into memory whole, which would stall the window.
constexpr sf_count_t kMaxSamples = sf_count_t(32) * 1024 * 1024;

struct Sound {
    QAudioFormat format;
    QByteArray samples;
};

// Any encoding a WAV file may hold, as 16-bit samples at the file's own rate
// and channel count; nothing for a file that is no WAV or holds no sound.
std::optional<Sound> readWav(const QString& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return std::nullopt;
    const int type = info.format & SF_FORMAT_TYPEMASK;
    std::optional<Sound> sound;
    if ((type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX) && info.frames > 0 &&
        info.channels > 0 && info.frames <= kMaxSamples / info.channels) {
        sound.emplace();
        sound->format.setSampleRate(info.samplerate);
        sound->format.setChannelCount(info.channels);
        sound->format.setSampleFormat(QAudioFormat::Int16);
        sound->samples.resize(qsizetype(info.frames) * info.channels * qsizetype(sizeof(short)));
        const sf_count_t read =
            sf_readf_short(file, reinterpret_cast<short*>(sound->samples.data()), info.frames);
        if (read > 0)
            sound->samples.truncate(qsizetype(read) * info.channels * qsizetype(sizeof(short)));
        else
            sound.reset();
    }
    sf_close(file);
    return sound;
}

// How often an emptied stream asks how far the server has played it.
constexpr int kDrainCheckMs = 20;

} // namespace

// The file is read whole at each play and fed to an audio stream that stays
// open until the server has played it to the end. An audio server holds the
// last part of a stream in its own buffer after the player has handed it
// over; closing the stream at that point (what QSoundEffect does) loses that
// part, a good third of a short chime.
class QtSoundOutput : public QObject, public SoundOutput {
public:
    QtSoundOutput()
    {
        connect(&m_drainCheck, &QTimer::timeout, this,
                FailureBoundary::guard(this, &QtSoundOutput::stopOnceDrained));
    }
    void play(const QString& path) override;
    void stop() override;

private:
    void stateChanged(QAudio::State state);
    void stopOnceDrained();
    void waitForDrain();

    QAudioSink* m_sink = nullptr;
    qint64 m_lengthUs = 0;
    QTimer m_drainCheck;
    QDeadlineTimer m_drainDeadline;
};

std::unique_ptr<SoundOutput> SoundOutput::create()
{
    return std::make_unique<QtSoundOutput>();
}

void QtSoundOutput::play(const QString& path)
{
    // With no file, nowhere to play it, or nothing playable in it, the
    // default beep stands in.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    std::optional<Sound> sound;
    if (!device.isNull() && QFileInfo(path).isFile())
        sound = readWav(path);
    if (!sound || !device.isFormatSupported(sound->format)) {
        QApplication::beep();
        return;
    }
    const qint64 frames = sound->samples.size() / sound->format.bytesPerFrame();
    m_lengthUs = frames * 1000000 / sound->format.sampleRate();
    // Created for each sound, so a window that never turns a page never
    // opens the audio device. The samples belong to the stream and go with it.
    m_sink = new QAudioSink(device, sound->format, this);
    auto* source = new QBuffer(m_sink);
    source->setData(sound->samples);
    source->open(QIODevice::ReadOnly);
    connect(m_sink, &QAudioSink::stateChanged, this,
            FailureBoundary::guard(this, &QtSoundOutput::stateChanged));
    m_sink->start(source);
    // A stream that failed while starting may have said so already.
    if (m_sink && m_sink->error() != QAudio::NoError) {
        stop();
        QApplication::beep();
    }
}

void QtSoundOutput::stateChanged(QAudio::State state)
{
    if (state == QAudio::IdleState) {
        waitForDrain();
    } else if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        stop();
        QApplication::beep();
    }
}

void QtSoundOutput::waitForDrain()
{
    // Everything is handed over; the server still holds up to a buffer's
    // worth. Give up waiting well after that much time has passed.
    const qint64 bufferedUs =
        m_sink->format().durationForBytes(static_cast<qint32>(m_sink->bufferSize()));
    m_drainDeadline.setRemainingTime(bufferedUs / 1000 + 500);
    m_drainCheck.start(kDrainCheckMs);
}

void QtSoundOutput::stopOnceDrained()
{
    // The processed time is the server's play position, not what was handed
    // over, so it reaches the sound's length once its end has been heard.
    if (m_sink && m_sink->processedUSecs() < m_lengthUs && !m_drainDeadline.hasExpired())
        return;
    stop();
}

void QtSoundOutput::stop()
{
    m_drainCheck.stop();
    if (!m_sink)
        return;
    m_sink->disconnect(this);
    m_sink->stop();
    // It may be in the middle of telling us of its state.
    m_sink->deleteLater();
    m_sink = nullptr;
}
