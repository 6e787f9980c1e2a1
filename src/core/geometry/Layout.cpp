#include "core/geometry/Layout.h"

#include "core/geometry/StoredControls.h"
#include "core/geometry/Units.h"

namespace {

// A stored control's size at a new place.
QRectF at(double left, double top, const QRectF& stored)
{
    return {left, top, stored.width(), stored.height()};
}

} // namespace

Layout Layout::compute(double sw, double sh)
{
    using S = StoredControls;
    Layout l;
    l.margin = floorToInt((sw - kSwatchCount * S::swatch.width()) / 2);

    const double swatchTop = sh - (kSwatchHeight + 25);
    double left = static_cast<double>(l.margin);
    for (QRectF& swatch : l.swatches) {
        swatch = QRectF(left, swatchTop, S::swatch.width(), kSwatchHeight);
        left += S::swatch.width();
    }
    const QRectF& first = l.swatches[0];

    const double buttonTop = first.top() + first.height() - S::forwardButton.height();
    l.forward = at(first.left() - S::forwardButton.width() - 25, buttonTop, S::forwardButton);
    // Offset by the forward button's width, which is also what sets it beside that button.
    l.back = at(l.forward.left() - S::forwardButton.width(), l.forward.top(), S::backButton);
    l.colourBar = at(first.left(), l.forward.top(), S::colourBar);
    l.eraser = at(l.colourBar.right() + 25, l.colourBar.top(), S::eraserButton);
    l.door = at(l.eraser.right() + 25, l.eraser.top(), S::doorButton);
    l.canvas =
        at((sw - S::canvas.width()) / 2, (l.colourBar.top() - S::canvas.height()) / 2, S::canvas);
    l.mascot = at(l.canvas.right() + 100, l.canvas.top(), S::mascot);
    return l;
}
