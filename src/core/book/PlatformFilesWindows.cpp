#include "core/book/PlatformFiles.h"

#include <QDir>
#include <QFileDevice>
#include <cerrno>

#include <windows.h>

namespace {

// The few Windows errors a parent can act on, as the errno numbers
// DurableFile words its reasons from.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    default:
        return EIO;
    }
}

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

int moveFile(const QString& from, const QString& to, DWORD flags)
{
    // Write-through: the call returns once the new name is on the disk.
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), flags | MOVEFILE_WRITE_THROUGH))
        return 0;
    return errnoOf(GetLastError());
}

} // namespace

int PlatformFiles::syncFile(QFileDevice& file)
{
    // Qt keeps its own handle to itself; a second one to the same file
    // flushes the same cached bytes.
    HANDLE handle = CreateFileW(native(file.fileName()).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return errnoOf(GetLastError());
    const int result = FlushFileBuffers(handle) ? 0 : errnoOf(GetLastError());
    CloseHandle(handle);
    return result;
}

void PlatformFiles::giveUsualPermissions(QFileDevice&)
{
    // A new file inherits the folder's access rules; there is no umask.
}

int PlatformFiles::renameReplacing(const QString& from, const QString& to)
{
    return moveFile(from, to, MOVEFILE_REPLACE_EXISTING);
}

int PlatformFiles::renameKeepingExisting(const QString& from, const QString& to)
{
    // Without REPLACE_EXISTING the move itself refuses a name already taken.
    return moveFile(from, to, 0);
}

int PlatformFiles::syncFolder(const QString&)
{
    // The write-through move has already put the folder's entry on the disk.
    return 0;
}
