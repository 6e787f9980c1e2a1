#include "core/folders/BookLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The book as the file system knows it, so that links and relative paths to
// the same `dibujos` give the same name.
QString canonicalBook(const QString& bookFolder)
{
    for (const QString& path : {bookFolder + QStringLiteral("/dibujos"), bookFolder}) {
        QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty())
            return canonical;
    }
    return QDir::cleanPath(QDir(bookFolder).absolutePath());
}

QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

BookLock::BookLock(const QString& bookFolder)
    : m_bookFolder(bookFolder),
      m_key(QString::fromLatin1(
          QCryptographicHash::hash(canonicalBook(bookFolder).toUtf8(), QCryptographicHash::Sha256)
              .toHex()
              .left(32)))
{
}

bool BookLock::take()
{
    if (const std::optional<bool> taken = takeAt(m_bookFolder + QStringLiteral("/.tintaro.lock")))
        return *taken;
    const QString elsewhere =
        runtimeFolder() + QStringLiteral("/tintaro-") + m_key + QStringLiteral(".lock");
    return takeAt(elsewhere).value_or(true);
}

std::optional<bool> BookLock::takeAt(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A running program keeps its lock however long it runs; only one whose
    // process is gone has left a stale lock.
    lock->setStaleLockTime(0);
    // The lock's record cannot show a holder on another computer dead (a book
    // on a USB stick moved after a crash), nor a process number reused; the
    // file's native lock, held only by a live holder, can, and it keeps a
    // live holder's file from being removed.
    if (lock->tryLock(0) || (lock->removeStaleLockFile() && lock->tryLock(0))) {
        m_lock = std::move(lock);
        return true;
    }
    // A lock whose holder cannot be read (a folder in its place, say) is no
    // program's: the next place is tried.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application))
        return false;
    return std::nullopt;
}
