#include "import/PageImporter.h"

#include "book/Failure.h"
#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/PageCleaner.h"

#include <QDir>
#include <new>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString sheetName(const QString& path, int sheet, int sheets)
{
    if (sheets == 1)
        return shown(path);
    return QStringLiteral("%1 (hoja %2 de %3)").arg(shown(path)).arg(sheet + 1).arg(sheets);
}

QString areasText(int areas)
{
    return areas == 1 ? QStringLiteral("1 zona cerrada")
                      : QStringLiteral("%1 zonas cerradas").arg(areas);
}

} // namespace

PageImporter::PageImporter(QString bookFolder, QSize largestPage)
    : m_adder(std::move(bookFolder)), m_largestPage(largestPage)
{
}

bool PageImporter::addAll(const QStringList& files, Listener& listener)
{
    bool allAdded = true;
    for (const QString& path : files) {
        const Outcome outcome = addFile(path, listener);
        allAdded = allAdded && outcome == Outcome::Added;
        // The book itself cannot take more: nothing after this would fit either.
        if (outcome == Outcome::BookFull)
            break;
    }
    return allAdded;
}

PageImporter::Outcome PageImporter::addFile(const QString& path, Listener& listener)
{
    const auto refuse = [&](const QString& reason) {
        listener.refused(QStringLiteral("No he añadido %1: %2").arg(shown(path), reason));
        return Outcome::Refused;
    };
    try {
        DrawingFile drawing(path, m_largestPage);
        Outcome outcome = Outcome::Added;
        for (int sheet = 0; sheet < drawing.pageCount() && outcome != Outcome::BookFull; ++sheet) {
            const QString name = sheetName(path, sheet, drawing.pageCount());
            const Outcome sheetOutcome = addSheet(drawing, sheet, name, listener);
            if (sheetOutcome != Outcome::Added)
                outcome = sheetOutcome;
        }
        return outcome;
    } catch (const Failure& failure) {
        listener.refused(
            QStringLiteral("No he añadido %1: %2").arg(shown(failure.file()), failure.reason()));
        return Outcome::Refused;
    } catch (const std::bad_alloc&) {
        return refuse(QStringLiteral("no hay memoria para un dibujo tan grande."));
    } catch (const std::exception& error) {
        return refuse(
            QStringLiteral("error inesperado (%1).").arg(QString::fromLocal8Bit(error.what())));
    }
}

PageImporter::Outcome PageImporter::addSheet(DrawingFile& drawing, int sheet, const QString& name,
                                             Listener& listener)
{
    const PageCleaner::Result clean = PageCleaner::clean(drawing.greyPage(sheet));
    if (clean.closedAreas == 0) {
        listener.refused(
            QStringLiteral("No he añadido %1: no tiene ninguna zona cerrada para colorear.")
                .arg(name));
        return Outcome::Refused;
    }
    int page = 0;
    try {
        page = m_adder.add(GifPageWriter::encode(clean.page));
    } catch (const Failure& failure) {
        listener.refused(QStringLiteral("%1 (%2)").arg(failure.reason(), shown(failure.file())));
        return Outcome::BookFull;
    }
    listener.added(QStringLiteral("%1: página %2, %3 × %4 puntos, %5")
                       .arg(name)
                       .arg(page)
                       .arg(clean.page.width())
                       .arg(clean.page.height())
                       .arg(areasText(clean.closedAreas)));
    return Outcome::Added;
}
