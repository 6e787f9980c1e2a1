#include "book/PageBook.h"

#include "book/Failure.h"
#include "book/PageFiles.h"
#include "book/PictureLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

PageBook::PageBook(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString PageBook::pagePath(int page, const char* extension) const
{
    return PageFilePath(m_programFolder, page, QString::fromLatin1(extension));
}

void PageBook::startUp()
{
    const bool keepCopies = switchKeepsCopies(readSwitchLine(m_programFolder));
    m_state.PageChanged = PageState::kFalse;

    FolderIndex drawings(m_programFolder + QStringLiteral("/dibujos"));
    int count = 1;
    while (!drawings.findFileName(QString::number(count) + QStringLiteral(".gif")).isEmpty()) {
        if (!keepCopies) {
            const QString copy = pagePath(count, ".bmp");
            if (passesExactNameTest(copy))
                deleteCopy(copy);
        }
        if (count == kPageLimit)
            throw Failure(m_programFolder + QStringLiteral("/dibujos"),
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
        result.soundPath = m_programFolder + QStringLiteral("/sonido2.wav");
    } else {
        result.threshold = 1;
        result.soundPath = m_programFolder + QStringLiteral("/sonido1.wav");
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

} // namespace

void PageBook::saveCopy(const QImage& image, const QString& path)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const qint64 needed = 54 + qint64((rgb.width() * 3 + 3) & ~3) * rgb.height();
    // Hidden, so a half-written file left by a crash is never taken for a page.
    QTemporaryFile temp(folder + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!temp.open())
        saveFailed(path, saveReason(errno, folder, needed));
    errno = 0;
    if (!rgb.save(&temp, "BMP") || !temp.flush())
        saveFailed(path, saveReason(errno, folder, needed));
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    temp.close();

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temp.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error)
        saveFailed(path, saveReason(error.value(), folder, needed));
    temp.setAutoRemove(false);
}
