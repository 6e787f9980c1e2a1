#include "book/PageBook.h"

#include "book/Failure.h"
#include "book/PageFiles.h"
#include "book/PictureLoader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

PageBook::PageBook(QString bookFolder) : PageBook(bookFolder, bookFolder) {}

PageBook::PageBook(QString bookFolder, QString soundFolder)
    : m_bookFolder(std::move(bookFolder)), m_soundFolder(std::move(soundFolder))
{
}

QString PageBook::pagePath(int page, const char* extension) const
{
    return PageFilePath(m_bookFolder, page, QString::fromLatin1(extension));
}

void PageBook::startUp()
{
    const bool keepCopies = switchKeepsCopies(readSwitchLine(m_bookFolder));
    m_state.PageChanged = PageState::kFalse;
    removeUnfinishedSaves(m_bookFolder + QStringLiteral("/dibujos"));

    FolderIndex drawings(m_bookFolder + QStringLiteral("/dibujos"));
    int count = 1;
    while (!drawings.findFileName(QString::number(count) + QStringLiteral(".gif")).isEmpty()) {
        if (!keepCopies) {
            const QString copy = pagePath(count, ".bmp");
            if (passesExactNameTest(copy))
                deleteCopy(copy);
        }
        if (count == kPageLimit)
            throw Failure(m_bookFolder + QStringLiteral("/dibujos"),
                          QStringLiteral("El libro tiene demasiados dibujos: caben %1 como mucho.")
                              .arg(kPageLimit - 1));
        ++count;
    }
    m_state.PageCount = count - 1;
    m_state.CurrentPage = 1;
}

QImage PageBook::loadFirstPage() const
{
    const QString drawing = pagePath(1, ".gif");
    if (m_state.PageCount == 0 && !passesExactNameTest(pagePath(1, ".bmp")) &&
        !QFileInfo::exists(drawing))
        throw Failure(drawing, QStringLiteral("El libro no tiene dibujos: la carpeta «dibujos» "
                                              "necesita los dibujos 1.gif, 2.gif, 3.gif…"));
    return loadPage(1);
}

QImage PageBook::loadPage(int page) const
{
    const QString copy = pagePath(page, ".bmp");
    if (passesExactNameTest(copy))
        return PictureLoader::load(copy);
    return loadDrawing(page);
}

QImage PageBook::loadDrawing(int page) const
{
    // A drawing stored as 3.GIF is still page 3: open it under the name found.
    const QString drawing = pagePath(page, ".gif");
    const QString found = FindFileName(drawing);
    if (found.isEmpty())
        return PictureLoader::load(drawing);
    return PictureLoader::load(QFileInfo(drawing).absolutePath() + QLatin1Char('/') + found);
}

PageBook::Turn PageBook::turn(Direction direction, const QImage& persistentImage)
{
    Turn result;
    if (m_state.PageChanged == PageState::kTrue) {
        saveCopy(persistentImage, pagePath(m_state.CurrentPage, ".bmp"));
        result.saved = true;
    }

    // With no pages there is nowhere to go: page 1 is shown again.
    if (m_state.PageCount > 0) {
        if (direction == Direction::Backward) {
            --m_state.CurrentPage;
            if (m_state.CurrentPage == 0)
                m_state.CurrentPage = m_state.PageCount;
        } else {
            m_state.CurrentPage =
                m_state.CurrentPage < m_state.PageCount ? m_state.CurrentPage + 1 : 1;
        }
    }

    result.picture = loadPage(m_state.CurrentPage);
    if (direction == Direction::Backward) {
        result.threshold = 2;
        result.soundPath = m_soundFolder + QStringLiteral("/sonido2.wav");
    } else {
        result.threshold = 1;
        result.soundPath = m_soundFolder + QStringLiteral("/sonido1.wav");
        m_state.PageChanged = PageState::kFalse;
    }
    return result;
}

QImage PageBook::restore()
{
    // The clean drawing is read before the coloured copy goes, so a drawing
    // that cannot be read never costs the child the coloured page as well.
    QImage drawing = loadDrawing(m_state.CurrentPage);
    const QString copy = pagePath(m_state.CurrentPage, ".bmp");
    if (passesExactNameTest(copy))
        deleteCopy(copy);
    return drawing;
}

namespace {

// The hidden name a copy is written under before it takes its place.
QString unfinishedSavePattern(const QString& copyName)
{
    return QStringLiteral(".") + copyName + QStringLiteral(".XXXXXX");
}

} // namespace

void PageBook::removeUnfinishedSaves(const QString& folder)
{
    // A save cut short by a crash or a power cut leaves its hidden temporary
    // file behind; only names of exactly that pattern are removed.
    static const QRegularExpression unfinished(
        QStringLiteral("^\\.[0-9]+\\.bmp\\.[A-Za-z0-9]{6}$"));
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        if (unfinished.match(entries.fileName()).hasMatch())
            QFile::remove(entries.filePath());
    }
}

void PageBook::deleteCopy(const QString& path)
{
    QFile file(path);
    if (!file.remove())
        throw Failure(
            path,
            QStringLiteral("No puedo borrar la copia coloreada (%1).").arg(file.errorString()));
}

namespace {

// Why a coloured copy could not be written, in words a parent understands.
QString saveReason(int error, const QString& folder, qint64 needed)
{
    switch (error) {
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
        return QStringLiteral("la carpeta de los dibujos ya no está");
    default:
        break;
    }
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() < needed)
        return QStringLiteral("no queda sitio en el disco");
    return QStringLiteral("el disco no deja escribir el archivo");
}

[[noreturn]] void saveFailed(const QString& path, const QString& reason)
{
    throw SaveFailure(path,
                      QStringLiteral("No puedo guardar el dibujo coloreado: %1.").arg(reason));
}

#ifdef Q_OS_UNIX
// A new file gets what the user's umask allows, as any other program's would.
void giveUsualPermissions(int fd)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

// Whether the folder's entries reached the disk: after a rename, a power cut
// could otherwise bring back the old name or none.
bool syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    // Some file systems cannot sync a folder at all; that is no failure.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return synced;
}
#endif

// Waits until the file's bytes are on the disk, so that a power cut or a
// pulled stick after the rename cannot leave a copy cut short.
bool syncFile(QFileDevice& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

} // namespace

void PageBook::saveCopy(const QImage& image, const QString& path)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const qint64 needed = 54 + qint64((rgb.width() * 3 + 3) & ~3) * rgb.height();
    // Hidden, so a half-written file left by a crash is never taken for a page.
    QTemporaryFile temp(folder + QLatin1Char('/') + unfinishedSavePattern(target.fileName()));
    errno = 0;
    if (!temp.open())
        saveFailed(path, saveReason(errno, folder, needed));
    errno = 0;
    if (!rgb.save(&temp, "BMP") || !temp.flush() || !syncFile(temp))
        saveFailed(path, saveReason(errno, folder, needed));
#ifdef Q_OS_UNIX
    giveUsualPermissions(temp.handle());
#endif
    temp.close();

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temp.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error)
        saveFailed(path, saveReason(error.value(), folder, needed));
    temp.setAutoRemove(false);
#ifdef Q_OS_UNIX
    errno = 0;
    if (!syncFolder(folder))
        saveFailed(path, saveReason(errno, folder, needed));
#endif
}
