#include "import/PageAdder.h"

#include "book/DurableFile.h"
#include "book/Failure.h"
#include "book/PageBook.h"
#include "book/PageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

PageAdder::PageAdder(QString bookFolder) : m_bookFolder(std::move(bookFolder)) {}

QString PageAdder::drawingsFolder() const
{
    return m_bookFolder + QStringLiteral("/dibujos");
}

int PageAdder::nextPage()
{
    if (m_next == 0)
        m_next = FolderIndex(drawingsFolder()).countPages(PageBook::kPageLimit) + 1;
    return m_next;
}

int PageAdder::add(const QByteArray& gif)
{
    const int page = nextPage();
    if (page >= PageBook::kPageLimit)
        throw Failure(drawingsFolder(),
                      QStringLiteral("El libro está lleno: caben %1 dibujos como mucho.")
                          .arg(PageBook::kPageLimit - 1));
    const QString folder = drawingsFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw Failure(folder, QStringLiteral("No puedo crear la carpeta de los dibujos."));
    // A coloured copy left without its drawing would be shown instead of the
    // new page, and it is not ours to delete.
    const QString copy = PageFilePath(m_bookFolder, page, QStringLiteral(".bmp"));
    if (passesAnyMatchTest(copy))
        throw Failure(copy, QStringLiteral("Ya hay una copia coloreada para la página %1 sin su "
                                           "dibujo: muévela a otro sitio y vuelve a probar.")
                                .arg(page));

    const QString target = PageFilePath(m_bookFolder, page, QStringLiteral(".gif"));
    // Renaming never replaces an existing file, even one made meanwhile.
    const auto error = DurableFile::write(
        target, QStringLiteral(".nuevo-XXXXXX.gif"), DurableFile::Mode::KeepExisting,
        [&gif](QFileDevice& file) { return file.write(gif) == gif.size(); });
    if (error)
        throw Failure(target, QStringLiteral("No puedo guardar el dibujo: %1.")
                                  .arg(DurableFile::reason(*error, folder, gif.size())));
    ++m_next;
    return page;
}
