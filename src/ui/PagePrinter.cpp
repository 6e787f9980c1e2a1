#include "ui/PagePrinter.h"

#include "core/book/Failure.h"
#include "core/print/SheetFit.h"
#include "ui/FailureBoundary.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

void drawOnSheet(QPainter& painter, const QPrinter& printer, const QImage& page)
{
    // Without full-page mode the painter's origin is the printable area's corner.
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.drawImage(SheetFit::fit(page.size(), area.size()), page);
}

} // namespace

void PagePrinter::print(QPrinter& printer, const QList<QImage>& pages)
{
    if (pages.isEmpty())
        return;
    printer.setColorMode(QPrinter::Color);
    printer.setFullPage(false);
    // The shape of each page decides its sheet's orientation; a layout set
    // right before a new sheet applies to that sheet.
    printer.setPageOrientation(SheetFit::orientationFor(pages.first().size()));
    QPainter painter;
    if (!painter.begin(&printer))
        throw Failure(printer.printerName(),
                      QStringLiteral("La impresora no acepta el trabajo de impresión."));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            printer.setPageOrientation(SheetFit::orientationFor(pages[i].size()));
            printer.newPage();
        }
        drawOnSheet(painter, printer, pages[i]);
    }
    painter.end();
}

bool PagePrinter::askAndPrint(QWidget* parent, const QImage& page)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(SheetFit::orientationFor(page.size()));
    printer.setDocName(QStringLiteral("Tintaro"));
    QPrintDialog dialog(&printer, parent);
    // One page, one copy: no ranges or selections to ask about.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    try {
        print(printer, {page});
    } catch (const Failure& failure) {
        // A printer's refusal costs the child nothing: the page stays as it is.
        FailureBoundary::warn(parent, failure.message());
        return false;
    }
    return true;
}
