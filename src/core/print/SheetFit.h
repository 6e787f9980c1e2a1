#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QSize>
#include <QSizeF>

// Where a page goes on a sheet of paper: whole, as large as the printable
// area allows, centred, its aspect kept.
class SheetFit {
public:
    // A page wider than tall is printed on a landscape sheet, any other on a
    // portrait one, so that it fills as much of the paper as it can.
    static QPageLayout::Orientation orientationFor(QSize page);

    // The rectangle the page is drawn into, in the printable area's own
    // coordinates (its top-left corner is 0, 0). An empty page or area gives
    // an empty rectangle.
    static QRectF fit(QSize page, QSizeF printable);
};
