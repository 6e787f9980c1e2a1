#include "ui/SoundPlayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sndfile.h>

#include <windows.h>

#include <mmsystem.h>

namespace {

// PlaySound plays any WAV it can open, and only says so when it cannot:
// a file that is no WAV is told first, so that it beeps as on Linux.
bool isWav(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    SF_INFO info{};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return false;
    const int type = info.format & SF_FORMAT_TYPEMASK;
    sf_close(file);
    return (type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX) && info.frames > 0;
}

} // namespace

// The system plays the file itself, from the disk, in the background; a new
// call replaces the sound still playing.
class SoundPlayer::Output {
public:
    void play(const QString& path)
    {
        const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
        if (!isWav(path) ||
            !PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
            MessageBeep(MB_OK);
    }
    void stop() { PlaySoundW(nullptr, nullptr, 0); }
};

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), m_output(std::make_unique<Output>()) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(const QString& path)
{
    m_output->stop();
    if (!m_silent)
        m_output->play(path);
}
