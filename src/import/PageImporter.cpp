#include "import/PageImporter.h"

#include "core/book/Failure.h"
#include "core/book/PageBook.h"
#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/PageCleaner.h"

#include <QDir>
#include <new>

namespace {

// The share of the page the second largest area must reach.
constexpr double kLeastArea = 0.005;

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

// Sheet numbers the way a person lists them: "2", "2 y 5", "2, 3 y 5".
QString listed(QStringList numbers)
{
    const QString last = numbers.takeLast();
    return numbers.isEmpty()
               ? last
               : QStringLiteral("%1 y %2").arg(numbers.join(QStringLiteral(", ")), last);
}

// A page that fills the gap at the book's end brings the pages after it in.
QString joined(int page, int lastBefore, int last)
{
    if (page != lastBefore + 1 || last == page)
        return {};
    if (last == page + 1)
        return QStringLiteral("; con ella, la página %1, que ya estaba en la carpeta, pasa a ser "
                              "parte del libro")
            .arg(last);
    return QStringLiteral("; con ella, las páginas %1 a %2, que ya estaban en la carpeta, pasan "
                          "a ser parte del libro")
        .arg(page + 1)
        .arg(last);
}

// Why a clean page has nothing a child could colour, or nothing. Besides the
// largest area (the paper round a drawing, mostly) an area must be large
// enough to see and to press.
QString nothingToColour(const PageCleaner::Result& clean)
{
    if (clean.closedAreas == 0)
        return QStringLiteral("no tiene ninguna zona cerrada para colorear.");
    const double page = double(clean.page.width()) * clean.page.height();
    if (clean.areaPoints.size() < 2 || clean.areaPoints[1] < page * kLeastArea)
        return QStringLiteral("no tiene nada que colorear: fuera de la mayor, ninguna zona "
                              "llega al 0,5 % de la página.");
    return {};
}

// What became of a file of several sheets some of which were refused.
QString partlyAdded(const QString& path, const QStringList& refused, int sheets)
{
    return QStringLiteral("De %1 he añadido %2 de %3 hojas; no la%4 %5.")
        .arg(shown(path))
        .arg(sheets - refused.size())
        .arg(sheets)
        .arg(refused.size() == 1 ? QStringLiteral(" hoja") : QStringLiteral("s hojas"))
        .arg(listed(refused));
}

} // namespace

PageImporter::PageImporter(QString bookFolder, QSize largestPage, PageCleaner::Treatment treatment)
    : m_adder(std::move(bookFolder)), m_largestPage(largestPage), m_treatment(treatment)
{
}

bool PageImporter::addAll(const QStringList& files, Listener& listener)
{
    for (int i = 0; i < files.size(); ++i) {
        const Outcome outcome = addFile(files[i], i + 1, int(files.size()), listener);
        // The book itself cannot take more: nothing after this would fit either.
        if (outcome == Outcome::BookFull || outcome == Outcome::Stopped)
            break;
    }
    return m_refused == 0 && !m_stopped;
}

PageImporter::Outcome PageImporter::addFile(const QString& path, int file, int files,
                                            Listener& listener)
{
    const auto refuse = [&](const QString& reason) {
        ++m_refused;
        listener.refused(QStringLiteral("No he añadido %1: %2").arg(shown(path), reason));
        return Outcome::Refused;
    };
    try {
        DrawingFile drawing(path, m_largestPage);
        const int sheets = drawing.pageCount();
        QStringList refused;
        for (int sheet = 0; sheet < sheets; ++sheet) {
            const QString name = sheetName(path, sheet, sheets);
            if (!listener.carryOn({name, file, files, sheet + 1, sheets})) {
                m_stopped = true;
                return Outcome::Stopped;
            }
            const Outcome outcome = addSheet(drawing, sheet, name, listener);
            if (outcome == Outcome::BookFull)
                return outcome;
            if (outcome == Outcome::Refused)
                refused << QString::number(sheet + 1);
        }
        if (!refused.isEmpty() && refused.size() < sheets)
            listener.refused(partlyAdded(path, refused, sheets));
        return refused.isEmpty() ? Outcome::Added : Outcome::Refused;
    } catch (const Failure& failure) {
        return refuse(failure.reason());
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
    try {
        const PageCleaner::Result clean = PageCleaner::clean(drawing.page(sheet), m_treatment);
        const QString empty = nothingToColour(clean);
        if (!empty.isEmpty()) {
            ++m_refused;
            listener.refused(QStringLiteral("No he añadido %1: %2").arg(name, empty));
            return Outcome::Refused;
        }
        const QByteArray gif = GifPageWriter::encode(clean.page);
        const int lastBefore = m_adder.lastPageInBook();
        const int page = m_adder.add(gif);
        ++m_added;
        QString line = QStringLiteral("%1: página %2, %3 × %4 puntos, %5")
                           .arg(name)
                           .arg(page)
                           .arg(clean.page.width())
                           .arg(clean.page.height())
                           .arg(areasText(clean.closedAreas));
        line += joined(page, lastBefore, m_adder.lastPageInBook());
        listener.added(line);
        listener.addedPage(clean.page, page);
        return Outcome::Added;
    } catch (const Failure& failure) {
        ++m_refused;
        // The drawing names itself; a file of the book is named too.
        const QString where = failure.file() == drawing.path()
                                  ? QString()
                                  : QStringLiteral(" (%1)").arg(shown(failure.file()));
        listener.refused(
            QStringLiteral("No he añadido %1: %2%3").arg(name, failure.reason(), where));
        return m_adder.nextPage() >= PageBook::kPageLimit ? Outcome::BookFull : Outcome::Refused;
    }
}

QString PageImporter::summary() const
{
    QString text = m_added == 1 ? QStringLiteral("He añadido 1 página.")
                                : QStringLiteral("He añadido %1 páginas.").arg(m_added);
    if (m_refused > 0)
        text += m_refused == 1
                    ? QStringLiteral(" 1 dibujo u hoja no se ha podido añadir.")
                    : QStringLiteral(" %1 dibujos u hojas no se han podido añadir.").arg(m_refused);
    if (m_stopped)
        text += QStringLiteral(" Lo has parado: lo añadido se queda en el libro.");
    return text;
}
