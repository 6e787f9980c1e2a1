#include "core/book/DurableFile.h"

#include "core/book/Failure.h"
#include "core/book/SystemReason.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// A new file gets what the user's umask allows, as any other program's would.
void giveUsualPermissions(int fd)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}
#endif

// Waits until the file's bytes are on the disk, so that a power cut or a
// pulled stick after the rename cannot leave a file cut short.
bool syncFile(QFileDevice& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

DurableFile::Error lastError()
{
    return {errno};
}

// Renames without ever replacing what is at `to`, even something made meanwhile.
int renameKeepingExisting(const QString& from, const QString& to)
{
#if defined(Q_OS_LINUX) && defined(SYS_renameat2)
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::syscall(SYS_renameat2, AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                  RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    // Without an atomic way on this system, the best is to look first.
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return EEXIST;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return error.value();
}

} // namespace

std::optional<DurableFile::Error> DurableFile::write(const QString& path,
                                                     const QString& hiddenPattern, Mode mode,
                                                     const Writer& writer)
{
    const QString folder = QFileInfo(path).absolutePath();
    QTemporaryFile temp(folder + QLatin1Char('/') + hiddenPattern);
    errno = 0;
    if (!temp.open())
        return lastError();
    errno = 0;
    if (!writer(temp) || !temp.flush() || !syncFile(temp))
        return lastError();
#ifdef Q_OS_UNIX
    giveUsualPermissions(temp.handle());
#endif
    temp.close();
    if (const auto error = rename(temp.fileName(), path, mode))
        return error;
    temp.setAutoRemove(false);
    return std::nullopt;
}

std::optional<DurableFile::Error> DurableFile::rename(const QString& from, const QString& to,
                                                      Mode mode)
{
    int code = 0;
    if (mode == Mode::KeepExisting) {
        code = renameKeepingExisting(from, to);
    } else {
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                                std::filesystem::path(to.toStdU16String()), error);
        code = error.value();
    }
    if (code != 0)
        return Error{code};
    const QString folder = QFileInfo(to).absolutePath();
    // The file is in place whatever the folder's sync says: only a power cut
    // in the next moments could still take the new name back.
    if (!syncFolder(folder))
        printError(QStringLiteral("Aviso: %1 está guardado, pero el disco no confirma la "
                                  "carpeta %2 (%3).")
                       .arg(to, folder, systemReason(errno)));
    return std::nullopt;
}

bool DurableFile::syncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    // Some file systems cannot sync a folder at all; that is no failure.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int syncError = errno;
    ::close(fd);
    errno = syncError;
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

QString DurableFile::reason(Error error, const QString& folder, qint64 needed)
{
    switch (error.code) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("la carpeta es de solo lectura o no tengo permiso para escribir");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("no queda sitio en el disco");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("la carpeta ya no está");
    case EEXIST:
    case ENOTEMPTY:
        return QStringLiteral("ya hay un archivo con ese nombre");
    default:
        break;
    }
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < needed)
        return QStringLiteral("no queda sitio en el disco");
    return QStringLiteral("el disco no deja escribir el archivo");
}
