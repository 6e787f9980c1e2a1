#include "import/PageAdder.h"

#include "core/book/DurableFile.h"
#include "core/book/Failure.h"
#include "core/book/PageBook.h"
#include "core/book/PageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

PageAdder::PageAdder(QString bookFolder) : m_bookFolder(std::move(bookFolder)) {}

QString PageAdder::drawingsFolder() const
{
    return m_bookFolder + QStringLiteral("/dibujos");
}

// The first page from `from` on with no drawing, from one listing of the folder.
int PageAdder::firstFree(int from) const
{
    return FolderIndex(drawingsFolder()).firstMissing(from, PageBook::kPageLimit);
}

int PageAdder::nextPage()
{
    m_next = firstFree(m_next);
    return m_next;
}

int PageAdder::lastPageInBook() const
{
    return firstFree(1) - 1;
}

int PageAdder::add(const QByteArray& gif)
{
    const QString folder = drawingsFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw Failure(folder, QStringLiteral("No puedo crear la carpeta de los dibujos."));
    // A drawing put there meanwhile keeps its number: the page takes the next.
    for (;;) {
        const int page = nextPage();
        if (page >= PageBook::kPageLimit)
            throw Failure(folder,
                          QStringLiteral("El libro está lleno: caben %1 dibujos como mucho.")
                              .arg(PageBook::kPageLimit - 1));
        if (put(gif, page)) {
            ++m_next;
            return page;
        }
    }
}

// Returns false when a drawing took the number first.
bool PageAdder::put(const QByteArray& gif, int page)
{
    const QString folder = drawingsFolder();
    // A coloured copy left without its drawing would be shown instead of the
    // new page, and it is not ours to delete.
    const QString copy = pageFilePath(m_bookFolder, page, QStringLiteral(".bmp"));
    if (passesAnyMatchTest(copy))
        throw Failure(copy, QStringLiteral("Ya hay una copia coloreada para la página %1 sin su "
                                           "dibujo: muévela a otro sitio y vuelve a probar.")
                                .arg(page));

    const QString target = pageFilePath(m_bookFolder, page, QStringLiteral(".gif"));
    // Renaming never replaces an existing file, even one made meanwhile.
    const auto error = DurableFile::write(
        target, QStringLiteral(".nuevo-XXXXXX.gif"), DurableFile::Mode::KeepExisting,
        [&gif](QFileDevice& file) { return file.write(gif) == gif.size(); });
    if (!error)
        return true;
    if (error->code == EEXIST)
        return false;
    throw Failure(target, QStringLiteral("No puedo guardar el dibujo: %1.")
                              .arg(DurableFile::reason(*error, folder, gif.size())));
}
