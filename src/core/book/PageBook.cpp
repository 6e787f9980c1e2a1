#include "core/book/PageBook.h"

#include "core/book/DurableFile.h"
#include "core/book/Failure.h"
#include "core/book/PageFiles.h"
#include "core/book/PictureLoader.h"
#include "core/book/SystemReason.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

PageBook::PageBook(QString bookFolder) : m_bookFolder(std::move(bookFolder)) {}

QString PageBook::pagePath(int page, const char* extension) const
{
    return pageFilePath(m_bookFolder, page, QString::fromLatin1(extension));
}

void PageBook::startUp()
{
    const bool keepCopies = switchKeepsCopies(readSwitchLine(m_bookFolder));
    m_state.pageChanged = false;
    removeUnfinishedWork(m_bookFolder);

    m_state.pageCount = countPages();
    for (int page = 1; page <= m_state.pageCount && !keepCopies; ++page) {
        const QString copy = pagePath(page, ".bmp");
        try {
            if (passesExactNameTest(copy))
                deleteCopy(copy);
        } catch (const Failure& failure) {
            // A read-only book still opens: it only cannot start clean.
            m_startUpNotice = QStringLiteral("%1 Este libro no puede guardar lo coloreado; "
                                             "se abre tal como está.")
                                  .arg(failure.message());
            break;
        }
    }
    m_state.currentPage = 1;
}

int PageBook::countPages() const
{
    const int count = FolderIndex(m_bookFolder + QStringLiteral("/dibujos")).countPages(kPageLimit);
    if (count == kPageLimit)
        throw Failure(m_bookFolder + QStringLiteral("/dibujos"),
                      QStringLiteral("El libro tiene demasiados dibujos: caben %1 como mucho.")
                          .arg(kPageLimit - 1));
    return count;
}

QImage PageBook::loadFirstPage(QString* notice)
{
    const QString drawing = pagePath(1, ".gif");
    if (m_state.pageCount == 0 && !passesExactNameTest(pagePath(1, ".bmp")) &&
        !QFileInfo::exists(drawing))
        throw Failure(drawing, QStringLiteral("El libro no tiene dibujos: la carpeta «dibujos» "
                                              "necesita los dibujos 1.gif, 2.gif, 3.gif…"));
    QString said;
    QImage page = showable(1, said);
    if (notice)
        *notice = said;
    return page;
}

bool PageBook::hasColouredCopy(int page) const
{
    return passesExactNameTest(pagePath(page, ".bmp"));
}

QImage PageBook::loadPage(int page) const
{
    if (hasColouredCopy(page))
        return PictureLoader::load(pagePath(page, ".bmp"));
    return loadDrawing(page);
}

QImage PageBook::loadDrawing(int page) const
{
    // A drawing stored as 3.GIF is still page 3: open it under the name found.
    const QString drawing = pagePath(page, ".gif");
    const QString found = lookUpFileName(drawing);
    if (found.isEmpty())
        return PictureLoader::load(drawing);
    return PictureLoader::load(QFileInfo(drawing).absolutePath() + QLatin1Char('/') + found);
}

PageBook::Turn PageBook::turn(Direction direction, const QImage& persistentImage)
{
    saveIfChanged(persistentImage);
    // With no pages there is nowhere to go: page 1 is shown again.
    if (m_state.pageCount > 0) {
        if (direction == Direction::Backward) {
            --m_state.currentPage;
            if (m_state.currentPage == 0)
                m_state.currentPage = m_state.pageCount;
        } else {
            m_state.currentPage =
                m_state.currentPage < m_state.pageCount ? m_state.currentPage + 1 : 1;
        }
    }
    return arrive(direction);
}

PageBook::Turn PageBook::goTo(int page, const QImage& persistentImage)
{
    saveIfChanged(persistentImage);
    if (page >= 1 && page <= m_state.pageCount)
        m_state.currentPage = page;
    return arrive(Direction::Forward);
}

void PageBook::saveIfChanged(const QImage& persistentImage)
{
    // A blank stand-in is nobody's colouring: nothing is written for it.
    if (!m_state.pageChanged || m_blank)
        return;
    saveCopy(persistentImage, pagePath(m_state.currentPage, ".bmp"));
    QFile::remove(damagedPath(m_state.currentPage));
}

QString PageBook::damagedPath(int page) const
{
    return pageFilePath(m_bookFolder, page, QStringLiteral("-dañado.bmp"));
}

// The page to show: a damaged coloured copy is set aside for the clean
// drawing, an unreadable drawing becomes a blank page, so a child can always
// turn past it.
QImage PageBook::showable(int page, QString& notice)
{
    m_blank = false;
    if (hasColouredCopy(page)) {
        try {
            return PictureLoader::load(pagePath(page, ".bmp"));
        } catch (const Failure& failure) {
            const bool aside = QFile::rename(failure.file(), damagedPath(page));
            notice = QStringLiteral("No puedo leer lo coloreado en «%1»: %2 %3")
                         .arg(failure.file(), failure.reason(),
                              aside ? QStringLiteral("Lo dejo aparte como «%1» y muestro el "
                                                     "dibujo limpio.")
                                          .arg(QFileInfo(damagedPath(page)).fileName())
                                    : QStringLiteral("Muestro el dibujo limpio."));
        }
    }
    try {
        return loadDrawing(page);
    } catch (const Failure& failure) {
        return blankPage(failure.message(), notice);
    }
}

QImage PageBook::blankPage(const QString& reason, QString& notice)
{
    m_blank = true;
    notice = (notice.isEmpty() ? QString() : notice + QLatin1Char('\n')) + reason +
             QStringLiteral(" La página queda en blanco; se puede pasar a la siguiente.");
    QImage blank(640, 480, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

PageBook::Turn PageBook::arrive(Direction direction)
{
    Turn result{QImage(), direction, m_state.currentPage, QString()};
    result.picture = showable(m_state.currentPage, result.notice);
    // Only a forward turn clears the mark: a page reached backwards is written
    // when it is left, touched or not, as books kept so far expect.
    if (direction == Direction::Forward)
        m_state.pageChanged = false;
    return result;
}

QImage PageBook::restore()
{
    // The clean drawing is read before the coloured copy goes, so a drawing
    // that cannot be read never costs the child the coloured page as well.
    QString notice;
    if (m_blank)
        return showable(m_state.currentPage, notice);
    QImage drawing = loadDrawing(m_state.currentPage);
    removeCopy();
    return drawing;
}

void PageBook::saveCurrentCopy(const QImage& page)
{
    if (m_blank)
        return;
    saveCopy(page, pagePath(m_state.currentPage, ".bmp"));
}

void PageBook::removeCopy()
{
    const QString copy = pagePath(m_state.currentPage, ".bmp");
    if (passesExactNameTest(copy))
        deleteCopy(copy);
}

namespace {

// The hidden name a copy is written under before it takes its place.
QString unfinishedSavePattern(const QString& copyName)
{
    return QStringLiteral(".") + copyName + QStringLiteral(".XXXXXX");
}

// The hidden temporaries of a coloured copy (`.3.bmp.a1B2c3`) and of an added
// page (`.nuevo-a1B2c3.gif`).
bool isUnfinishedFile(const QString& name)
{
    static const QRegularExpression save(QStringLiteral("^\\.[0-9]+\\.bmp\\.[A-Za-z0-9]{6}$"));
    static const QRegularExpression added(QStringLiteral("^\\.nuevo-[A-Za-z0-9]{6}\\.gif$"));
    return save.match(name).hasMatch() || added.match(name).hasMatch();
}

} // namespace

void PageBook::removeUnfinishedWork(const QString& bookFolder)
{
    // Work cut short by a crash or a power cut leaves its hidden temporary
    // behind; only names of exactly those patterns go.
    const QString drawings = bookFolder + QStringLiteral("/dibujos");
    QDirIterator files(drawings, QDir::Files | QDir::Hidden | QDir::System);
    while (files.hasNext()) {
        files.next();
        if (isUnfinishedFile(files.fileName()))
            QFile::remove(files.filePath());
    }
    // Beside it, a half-made copy of the sample book or a half-written
    // borra.txt from the settings window.
    static const QRegularExpression unfinishedBook(QStringLiteral("^\\.dibujos-[A-Za-z0-9]{6}$"));
    static const QRegularExpression unfinishedSwitch(
        QStringLiteral("^\\.borra\\.txt\\.[A-Za-z0-9]{6}$"));
    QDirIterator entries(bookFolder, QDir::Dirs | QDir::Files | QDir::Hidden | QDir::System |
                                         QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (entry.isDir() && !entry.isSymLink() &&
            unfinishedBook.match(entries.fileName()).hasMatch())
            QDir(entries.filePath()).removeRecursively();
        else if (!entry.isDir() && unfinishedSwitch.match(entries.fileName()).hasMatch())
            QFile::remove(entries.filePath());
    }
}

void PageBook::deleteCopy(const QString& path)
{
    if (QFile file(path); !file.remove())
        throw Failure(
            path,
            QStringLiteral("No puedo borrar la copia coloreada: %1.").arg(systemReason(errno)));
}

void PageBook::saveCopy(const QImage& image, const QString& path)
{
    const QFileInfo target(path);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto error = DurableFile::write(
        path, unfinishedSavePattern(target.fileName()), DurableFile::Mode::Replace,
        [&rgb](QFileDevice& file) { return rgb.save(&file, "BMP"); });
    if (!error)
        return;
    const qint64 needed = 54 + qint64((rgb.width() * 3 + 3) & ~3) * rgb.height();
    throw SaveFailure(path, QStringLiteral("No puedo guardar el dibujo coloreado: %1.")
                                .arg(DurableFile::reason(*error, target.absolutePath(), needed)));
}
