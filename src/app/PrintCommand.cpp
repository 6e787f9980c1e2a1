#include "app/PrintCommand.h"

#include "core/book/Failure.h"
#include "core/book/PageBook.h"
#include "ui/FailureBoundary.h"
#include "ui/PagePrinter.h"

#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>

namespace {

void say(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toUtf8().constData());
    std::fflush(stream);
}

// The printer asked for, or the default one; a null one when there is none,
// after saying why.
QPrinterInfo choosePrinter(const QString& name)
{
    const QPrinterInfo printer =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (!printer.isNull())
        return printer;
    const QStringList known = QPrinterInfo::availablePrinterNames();
    if (known.isEmpty())
        printError(QStringLiteral("no encuentro ninguna impresora; instala una en "
                                  "la configuración del sistema y vuelve a probar."));
    else if (name.isEmpty())
        printError(QStringLiteral("no hay impresora predeterminada; elige una con "
                                  "--printer NOMBRE (hay: %1).")
                       .arg(known.join(QStringLiteral(", "))));
    else
        printError(QStringLiteral("no encuentro la impresora «%1» (hay: %2).")
                       .arg(name, known.join(QStringLiteral(", "))));
    return {};
}

struct Sheets {
    QList<QImage> pictures;
    QStringList lines;
    bool allFound = true;
};

// Loads every page asked for; a page the book does not have is refused by
// name and the others still print.
Sheets loadSheets(const PrintCommand::Request& request, const PageBook& book, int count,
                  const QString& printerName)
{
    Sheets sheets;
    for (const QString& text : request.pages) {
        bool number = false;
        const int page = text.toInt(&number);
        if (!number || page < 1 || page > count) {
            printError(QStringLiteral("la página «%1» no está en el libro, que tiene "
                                      "%2 páginas.")
                           .arg(text)
                           .arg(count));
            sheets.allFound = false;
            continue;
        }
        const bool coloured = !request.blank && book.hasColouredCopy(page);
        try {
            sheets.pictures << (coloured ? book.loadPage(page) : book.loadDrawing(page));
        } catch (const Failure& failure) {
            printError(QStringLiteral("página %1: %2").arg(page).arg(failure.message()));
            sheets.allFound = false;
            continue;
        }
        sheets.lines << QStringLiteral("Página %1 enviada a «%2»: %3.")
                            .arg(page)
                            .arg(printerName, coloured ? QStringLiteral("la página coloreada")
                                                       : QStringLiteral("el dibujo para colorear"));
    }
    return sheets;
}

// Prints the pages asked for on `printer`; the exit status.
int printSheets(QPrinter& printer, const PrintCommand::Request& request, const PageBook& book,
                int count)
{
    const Sheets sheets = loadSheets(request, book, count, printer.printerName());
    if (sheets.pictures.isEmpty())
        return 1;
    printer.setDocName(QStringLiteral("Tintaro"));
    PagePrinter::print(printer, sheets.pictures);
    for (const QString& line : sheets.lines)
        say(stdout, line);
    return sheets.allFound ? 0 : 1;
}

// With no page numbers, the print dialog asks for the printer and the pages,
// so that the desktop menu can print without a terminal.
int askAndPrint(PrintCommand::Request request, const PageBook& book, int count)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        printError(QStringLiteral("escribe detrás de --print los números de las "
                                  "páginas que quieres imprimir, por ejemplo --print 1 3."));
        return 2;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Imprimir dibujos para colorear"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(1, std::max(count, 1));
    if (count == 0 || dialog.exec() != QDialog::Accepted)
        return 0;
    const bool range = printer.printRange() == QPrinter::PageRange;
    for (int page = range ? printer.fromPage() : 1; page <= (range ? printer.toPage() : count);
         ++page)
        request.pages << QString::number(page);
    try {
        return printSheets(printer, request, book, count);
    } catch (const Failure& failure) {
        FailureBoundary::warn(nullptr, failure.message());
        return 1;
    }
}

} // namespace

int PrintCommand::run(const Request& request, const QString& bookFolder)
{
    const PageBook book(bookFolder);
    const int count = book.countPages();
    if (request.pages.isEmpty())
        return askAndPrint(request, book, count);
    const QPrinterInfo info = choosePrinter(request.printer);
    if (info.isNull())
        return 1;
    QPrinter printer(info, QPrinter::HighResolution);
    return printSheets(printer, request, book, count);
}
