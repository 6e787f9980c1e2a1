#include "core/book/PlatformFiles.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

int PlatformFiles::syncFile(QFileDevice& file)
{
    return ::fsync(file.handle()) == 0 ? 0 : errno;
}

void PlatformFiles::giveUsualPermissions(QFileDevice& file)
{
    // A temporary file is made private; the finished one gets what the umask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file.handle(), 0666 & ~mask);
}

int PlatformFiles::renameReplacing(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    return error.value();
}

int PlatformFiles::renameKeepingExisting(const QString& from, const QString& to)
{
#if defined(__linux__) && defined(SYS_renameat2)
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
    return renameReplacing(from, to);
}

int PlatformFiles::syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return errno;
    // Some file systems cannot sync a folder at all; that is no failure.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    const int syncError = synced ? 0 : errno;
    ::close(fd);
    return syncError;
}
