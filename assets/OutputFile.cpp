#include "OutputFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

int OutputFile::open(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    // fchmod as well: the umask may have taken bits away, and an older file may differ.
    if (fd < 0 || ::fchmod(fd, 0644) != 0) {
        throw std::runtime_error("cannot write " + name.toStdString() + ": " +
                                 std::strerror(errno));
    }
    return fd;
}

void OutputFile::write(const QString& path, const QByteArray& bytes)
{
    const int fd = open(path);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::close(fd);
            throw std::runtime_error("cannot write " + path.toStdString());
        }
        done += n;
    }
    if (::close(fd) != 0) {
        throw std::runtime_error("cannot close " + path.toStdString());
    }
}
