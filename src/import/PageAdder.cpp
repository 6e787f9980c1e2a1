#include "import/PageAdder.h"

#include "book/Failure.h"
#include "book/PageBook.h"
#include "book/PageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sys/stat.h>
#include <unistd.h>

PageAdder::PageAdder(QString bookFolder) : m_bookFolder(std::move(bookFolder)) {}

QString PageAdder::drawingsFolder() const
{
    return m_bookFolder + QStringLiteral("/dibujos");
}

bool PageAdder::hasDrawing(int page) const
{
    return passesAnyMatchTest(PageFilePath(m_bookFolder, page, QStringLiteral(".gif")));
}

// The first page from `from` on with no drawing, from one listing of the folder.
int PageAdder::firstFree(int from) const
{
    FolderIndex drawings(drawingsFolder());
    int page = from;
    while (page < PageBook::kPageLimit &&
           !drawings.findFileName(QString::number(page) + QStringLiteral(".gif")).isEmpty())
        ++page;
    return page;
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
    const QString copy = PageFilePath(m_bookFolder, page, QStringLiteral(".bmp"));
    if (passesAnyMatchTest(copy))
        throw Failure(copy, QStringLiteral("Ya hay una copia coloreada para la página %1 sin su "
                                           "dibujo: muévela a otro sitio y vuelve a probar.")
                                .arg(page));

    QTemporaryFile temporary(folder + QStringLiteral("/.nuevo-XXXXXX.gif"));
    if (!temporary.open())
        throw Failure(folder, QStringLiteral("No puedo escribir en la carpeta de los dibujos (%1).")
                                  .arg(temporary.errorString()));
    // Like any file the user makes: what the umask allows, not private.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temporary.handle(), 0666 & ~mask);
    if (temporary.write(gif) != gif.size() || !temporary.flush() ||
        ::fsync(temporary.handle()) != 0)
        throw Failure(folder, QStringLiteral("No puedo guardar el dibujo: ¿queda sitio en el "
                                             "disco? (%1)")
                                  .arg(temporary.errorString()));
    temporary.close();
    const QString target = PageFilePath(m_bookFolder, page, QStringLiteral(".gif"));
    // Renaming never replaces an existing file, even one made meanwhile.
    if (QFile::rename(temporary.fileName(), target))
        return true;
    if (hasDrawing(page))
        return false;
    throw Failure(target, QStringLiteral("No puedo poner el dibujo en su sitio: la carpeta no "
                                         "deja escribir."));
}
