#pragma once

#include <QImage>
#include <QList>

class QPrinter;
class QWidget;

// Puts pages on paper: each on a sheet of its own, in the orientation its
// shape suits, fitted whole into the printable area and centred, in colour,
// with nothing else on the sheet.
class PagePrinter {
public:
    // Prints `pages` as one job on `printer`. Throws Failure naming the
    // printer when it refuses the job.
    static void print(QPrinter& printer, const QList<QImage>& pages);

    // Asks for the printer and paper in the system's print dialog, then
    // prints `page`. Cancelling prints nothing and returns false; a printer
    // that refuses the job is reported in a message box.
    static bool askAndPrint(QWidget* parent, const QImage& page);
};
