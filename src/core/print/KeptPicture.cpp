#include "print/KeptPicture.h"

#include "book/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxAttempts = 1000;

QString reasonFor(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("la carpeta es de solo lectura o no tengo permiso para escribir");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("no queda sitio en el disco");
    case ENOENT:
    case ENOTDIR:
    case EEXIST:
        return QStringLiteral("no puedo crear la carpeta");
    default:
        return QStringLiteral("el disco no deja escribir el archivo");
    }
}

[[noreturn]] void keepFailed(const QString& path, int error)
{
    throw SaveFailure(path,
                      QStringLiteral("No puedo guardar la imagen: %1.").arg(reasonFor(error)));
}

// Gives the hidden file its visible name only when that name is free: a
// picture already there is never replaced. Returns 0 or the error.
int renameWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems that cannot refuse in a rename can in a link.
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return synced;
}

// The picture's bytes on the disk under a hidden name, with the permissions
// the user's umask gives a new file.
void writeHidden(QTemporaryFile& temp, const QImage& image, const QString& folder)
{
    errno = 0;
    if (!temp.open())
        keepFailed(folder, errno);
    errno = 0;
    if (!image.save(&temp, "PNG") || !temp.flush() || ::fsync(temp.handle()) != 0)
        keepFailed(folder, errno);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temp.handle(), 0666 & ~mask);
    temp.close();
}

} // namespace

QString KeptPicture::fileName(int page, const QDateTime& at, int attempt)
{
    const QString stem = QStringLiteral("pagina-%1-%2")
                             .arg(page)
                             .arg(at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    return attempt > 1 ? QStringLiteral("%1-%2.png").arg(stem).arg(attempt) : stem + ".png";
}

QString KeptPicture::keep(const QImage& image, int page, const QString& folder, const QDateTime& at)
{
    errno = 0;
    if (!QDir().mkpath(folder))
        keepFailed(folder, errno);
    QTemporaryFile temp(folder + QStringLiteral("/.pagina-XXXXXX.png"));
    writeHidden(temp, image, folder);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const QString path = folder + QLatin1Char('/') + fileName(page, at, attempt);
        const int error = renameWithoutReplacing(temp.fileName(), path);
        if (error == EEXIST)
            continue;
        if (error != 0)
            keepFailed(path, error);
        temp.setAutoRemove(false);
        errno = 0;
        if (!syncFolder(folder))
            keepFailed(path, errno);
        return path;
    }
    throw SaveFailure(folder + QLatin1Char('/') + fileName(page, at),
                      QStringLiteral("No puedo guardar la imagen: ya hay demasiadas con ese "
                                     "nombre."));
}
