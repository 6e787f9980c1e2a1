#include "core/print/SheetFit.h"

#include <algorithm>

QPageLayout::Orientation SheetFit::orientationFor(QSize page)
{
    return page.width() > page.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QRectF SheetFit::fit(QSize page, QSizeF printable)
{
    if (page.isEmpty() || printable.isEmpty())
        return {};
    // The scale is decided by the tighter side; the other side keeps a margin
    // shared evenly on both ends.
    const double scale =
        std::min(printable.width() / page.width(), printable.height() / page.height());
    const QSizeF size(page.width() * scale, page.height() * scale);
    return {(printable.width() - size.width()) / 2, (printable.height() - size.height()) / 2,
            size.width(), size.height()};
}
