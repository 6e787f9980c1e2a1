#include "book/PageBook.h"

#include "book/Failure.h"
#include "book/PageFiles.h"
#include "book/PictureLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
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
    return loadPage(1);
}

QImage PageBook::loadPage(int page) const
{
    const QString copy = pagePath(page, ".bmp");
    if (passesExactNameTest(copy))
        return PictureLoader::load(copy);
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
    const QString copy = pagePath(m_state.CurrentPage, ".bmp");
    if (passesExactNameTest(copy))
        deleteCopy(copy);
    const QString drawing = pagePath(m_state.CurrentPage, ".gif");
    const QString found = FindFileName(drawing);
    return PictureLoader::load(
        found.isEmpty() ? drawing : QFileInfo(drawing).absolutePath() + QLatin1Char('/') + found);
}

void PageBook::deleteCopy(const QString& path)
{
    QFile file(path);
    if (!file.remove())
        throw Failure(
            path,
            QStringLiteral("No puedo borrar la copia coloreada (%1).").arg(file.errorString()));
}

void PageBook::saveCopy(const QImage& image, const QString& path)
{
    const QFileInfo target(path);
    // Hidden, so a half-written file left by a crash is never taken for a page.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw SaveFailure(
            path,
            QStringLiteral("No puedo guardar el dibujo coloreado (%1).").arg(temp.errorString()));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (!rgb.save(&temp, "BMP") || !temp.flush())
        throw SaveFailure(path, QStringLiteral("No puedo guardar el dibujo coloreado (%1).")
                                    .arg(temp.errorString().isEmpty()
                                             ? QStringLiteral("no queda sitio en el disco")
                                             : temp.errorString()));
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    temp.close();

    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temp.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), error);
    if (error)
        throw SaveFailure(path, QStringLiteral("No puedo guardar el dibujo coloreado (%1).")
                                    .arg(QString::fromLocal8Bit(error.message())));
    temp.setAutoRemove(false);
}
