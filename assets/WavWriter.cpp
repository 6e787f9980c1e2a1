#include "WavWriter.h"

#include "OutputFile.h"

#include <sndfile.h>
#include <unistd.h>

#include <stdexcept>

void WavWriter::write(const QString& path, const std::vector<short>& samples, int sampleRate)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const int fd = OutputFile::open(path);
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file) {
        ::close(fd);
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 sf_strerror(nullptr));
    }
    const sf_count_t written = sf_write_short(file, samples.data(), sf_count_t(samples.size()));
    const int closed = sf_close(file);
    if (written != sf_count_t(samples.size()) || closed != 0) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}
