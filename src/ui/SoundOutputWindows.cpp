#include "ui/SoundOutput.h"

#include <QDir>
#include <QFileInfo>
#include <string>

#include <windows.h>

// The wide-character open: a user's folder may have a name the ANSI code
// page cannot spell.
#define ENABLE_SNDFILE_WINDOWS_PROTOTYPES 1
#include <sndfile.h>

#include <mmsystem.h>

namespace {

// PlaySound plays any WAV it can open, and only says so when it cannot:
// a file that is no WAV is told first, so that it beeps as on Linux.
bool isWav(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    SF_INFO info{};
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    SNDFILE* file = sf_wchar_open(name.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    const int type = info.format & SF_FORMAT_TYPEMASK;
    sf_close(file);
    return (type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX) && info.frames > 0;
}

} // namespace

// The system plays the file itself, from the disk, in the background; a new
// call replaces the sound still playing.
class WindowsSoundOutput : public SoundOutput {
public:
    void play(const QString& path) override
    {
        const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
        if (!isWav(path) ||
            !PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
            MessageBeep(MB_OK);
    }
    void stop() override { PlaySoundW(nullptr, nullptr, 0); }
};

std::unique_ptr<SoundOutput> SoundOutput::create()
{
    return std::make_unique<WindowsSoundOutput>();
}
