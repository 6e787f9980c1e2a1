#include "import/PageImport.h"

#include "book/Failure.h"
#include "book/PageBook.h"
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

QString areas(int count)
{
    return count == 1 ? QStringLiteral("1 zona cerrada")
                      : QStringLiteral("%1 zonas cerradas").arg(count);
}

// Sheets by number, the way a person lists them: "2", "2 y 5", "2, 3 y 5".
QString listed(const QList<int>& sheets)
{
    QStringList numbers;
    for (const int sheet : sheets)
        numbers << QString::number(sheet);
    const QString last = numbers.takeLast();
    return numbers.isEmpty()
               ? last
               : QStringLiteral("%1 y %2").arg(numbers.join(QStringLiteral(", ")), last);
}

} // namespace

PageImport::PageImport(QString bookFolder, QSize largestPage)
    : m_adder(std::move(bookFolder)), m_largest(largestPage)
{
}

bool PageImport::run(const QStringList& files, Listener& listener)
{
    for (int i = 0; i < files.size() && !m_stopped; ++i) {
        if (!addFile(files[i], i + 1, int(files.size()), listener))
            break;
    }
    return m_refused == 0 && !m_stopped;
}

bool PageImport::addFile(const QString& path, int file, int files, Listener& listener)
{
    const QString name = shown(path);
    try {
        DrawingFile drawing(path, m_largest);
        const int sheets = drawing.pageCount();
        QList<int> refused;
        for (int sheet = 1; sheet <= sheets; ++sheet) {
            const QString sheetName =
                sheets == 1 ? name
                            : QStringLiteral("%1 (hoja %2 de %3)").arg(name).arg(sheet).arg(sheets);
            if (!listener.carryOn({sheetName, file, files, sheet, sheets})) {
                m_stopped = true;
                return false;
            }
            const Sheet outcome = addSheet(drawing, sheetName, sheet - 1, listener);
            if (outcome == Sheet::BookFull)
                return false;
            if (outcome == Sheet::Refused)
                refused << sheet;
        }
        if (!refused.isEmpty() && refused.size() < sheets)
            listener.refused(QStringLiteral("De %1 he añadido %2 de %3 hojas; no la %4.")
                                 .arg(name)
                                 .arg(sheets - refused.size())
                                 .arg(sheets)
                                 .arg((refused.size() == 1 ? QStringLiteral("hoja ")
                                                           : QStringLiteral("s hojas ")) +
                                      listed(refused)));
    } catch (const Failure& failure) {
        ++m_refused;
        listener.refused(QStringLiteral("No he añadido %1: %2").arg(name, failure.reason()));
    } catch (const std::bad_alloc&) {
        ++m_refused;
        listener.refused(
            QStringLiteral("No he añadido %1: no hay memoria para un dibujo tan grande.")
                .arg(name));
    }
    return true;
}

PageImport::Sheet PageImport::addSheet(DrawingFile& drawing, const QString& name, int sheet,
                                       Listener& listener)
{
    try {
        const PageCleaner::Result clean = PageCleaner::clean(drawing.page(sheet));
        if (clean.closedAreas == 0) {
            ++m_refused;
            listener.refused(
                QStringLiteral("No he añadido %1: no tiene ninguna zona cerrada para colorear.")
                    .arg(name));
            return Sheet::Refused;
        }
        const QByteArray gif = GifPageWriter::encode(clean.page);
        const int before = m_adder.lastPageInBook();
        const int page = m_adder.add(gif);
        ++m_added;
        QString line = QStringLiteral("%1: página %2, %3 × %4 puntos, %5")
                           .arg(name)
                           .arg(page)
                           .arg(clean.page.width())
                           .arg(clean.page.height())
                           .arg(areas(clean.closedAreas));
        const int last = m_adder.lastPageInBook();
        if (page == before + 1 && last > page)
            line += QStringLiteral(". Con ella, las páginas %1 a %2, que ya estaban en la "
                                   "carpeta, pasan a ser parte del libro")
                        .arg(page + 1)
                        .arg(last);
        listener.added(line);
        return Sheet::Added;
    } catch (const Failure& failure) {
        ++m_refused;
        // The drawing names itself; a file of the book is named too.
        const QString where = failure.file() == drawing.path()
                                  ? QString()
                                  : QStringLiteral(" (%1)").arg(shown(failure.file()));
        listener.refused(
            QStringLiteral("No he añadido %1: %2%3").arg(name, failure.reason(), where));
        return m_adder.nextPage() >= PageBook::kPageLimit ? Sheet::BookFull : Sheet::Refused;
    }
}

QString PageImport::summary() const
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
