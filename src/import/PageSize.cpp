#include "import/PageSize.h"

#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/Layout.h"
#include "core/geometry/Units.h"

#include <algorithm>
#include <cmath>

namespace {

bool shownWhole(const QSize& screen, double colourBarTop, QSize picture)
{
    const double width = pixelsToTwips(picture.width() + 2 * CanvasPlacement::kPictureBorder);
    const double height = pixelsToTwips(picture.height() + 2 * CanvasPlacement::kPictureBorder);
    const CanvasPlacement placed = CanvasPlacement::place(
        pixelsToTwips(screen.width()), colourBarTop, width, height,
        CanvasPlacement::Pin::WithinOneTwip); // the stricter rule, a page turned back
    return placed.canvasLeft >= 0 && placed.canvasHeight >= height &&
           placed.canvasTop + height <= colourBarTop;
}

} // namespace

QSize PageSize::largestShownWhole(QSize screen)
{
    const Layout layout =
        Layout::compute(pixelsToTwips(screen.width()), pixelsToTwips(screen.height()));
    const double barTop = layout.colourBar.top();
    QSize page(std::max(1, screen.width() - 2 * CanvasPlacement::kPictureBorder),
               std::max(1, twipsToPixels(barTop)));
    // The placement rounds in twips, so the last few points are found by trying.
    while (page.height() > 1 && !shownWhole(screen, barTop, page))
        page.rheight() -= 1;
    return page;
}

QSize PageSize::fit(QSizeF source, QSize largest, bool isRaster)
{
    double scale = std::min(largest.width() / source.width(), largest.height() / source.height());
    if (isRaster)
        scale = std::min(scale, 2.0);
    return {std::clamp(int(std::lround(source.width() * scale)), 1, largest.width()),
            std::clamp(int(std::lround(source.height() * scale)), 1, largest.height())};
}
