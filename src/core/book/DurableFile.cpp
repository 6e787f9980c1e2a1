#include "core/book/DurableFile.h"

#include "core/book/Failure.h"
#include "core/book/PlatformFiles.h"
#include "core/book/SystemReason.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

namespace {

DurableFile::Error lastError()
{
    return {errno};
}

} // namespace

std::optional<DurableFile::Error> DurableFile::write(const QString& path,
                                                     const QString& hiddenPattern, Mode mode,
                                                     const Writer& writer)
{
    const QString folder = QFileInfo(path).absolutePath();
    QString hidden;
    if (const auto error = writeHidden(folder + QLatin1Char('/') + hiddenPattern, writer, &hidden))
        return error;
    if (const auto error = rename(hidden, path, mode)) {
        QFile::remove(hidden);
        return error;
    }
    return std::nullopt;
}

// Only its destruction closes a QTemporaryFile for good, and Windows renames
// no file that is still open: the temporary is gone before the rename.
std::optional<DurableFile::Error> DurableFile::writeHidden(const QString& pattern,
                                                           const Writer& writer, QString* name)
{
    QTemporaryFile temp(pattern);
    errno = 0;
    if (!temp.open()) {
        // Windows says why in codes of its own, not errno: a folder that is
        // gone is found by looking.
        if (errno == 0 && !QFileInfo(QFileInfo(pattern).absolutePath()).isDir())
            return Error{ENOENT};
        return lastError();
    }
    errno = 0;
    if (!writer(temp) || !temp.flush())
        return lastError();
    // A power cut or a pulled stick after the rename then cannot leave a
    // file cut short.
    if (const int code = PlatformFiles::syncFile(temp))
        return Error{code};
    PlatformFiles::giveUsualPermissions(temp);
    temp.setAutoRemove(false);
    *name = temp.fileName();
    return std::nullopt;
}

std::optional<DurableFile::Error> DurableFile::rename(const QString& from, const QString& to,
                                                      Mode mode)
{
    const int code = mode == Mode::KeepExisting ? PlatformFiles::renameKeepingExisting(from, to)
                                                : PlatformFiles::renameReplacing(from, to);
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
    const int code = PlatformFiles::syncFolder(folder);
    errno = code;
    return code == 0;
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
