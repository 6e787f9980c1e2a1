#include "e2e/MainWindowGeometry.h"

#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/GalleryButtonPlacement.h"
#include "core/geometry/Layout.h"
#include "core/geometry/StoredControls.h"
#include "core/geometry/UndoButtonPlacement.h"
#include "core/geometry/Units.h"

namespace {

const Layout& layout()
{
    static const Layout l = Layout::compute(MainWindowGeometry::kScreenWidthTwips,
                                            MainWindowGeometry::kScreenHeightTwips);
    return l;
}

// The canvas is its picture with a one-pixel border all round, placed as
// start-up places it.
CanvasPlacement placed(QSize picture)
{
    return CanvasPlacement::place(MainWindowGeometry::kScreenWidthTwips, layout().colourBar.top(),
                                  pixelsToTwips(picture.width() + 2),
                                  pixelsToTwips(picture.height() + 2),
                                  CanvasPlacement::Pin::WithoutGap);
}

QRectF canvasTwips(QSize picture)
{
    const CanvasPlacement p = placed(picture);
    return {p.canvasLeft, p.canvasTop, pixelsToTwips(picture.width() + 2), p.canvasHeight};
}

} // namespace

int MainWindowGeometry::toPixels(double twips)
{
    return static_cast<int>(roundHalfEven(twips / kTwipsPerPixel));
}

QRect MainWindowGeometry::fromTwips(const QRectF& twips)
{
    return {toPixels(twips.left()), toPixels(twips.top()), toPixels(twips.width()),
            toPixels(twips.height())};
}

QRect MainWindowGeometry::swatch(int index)
{
    return fromTwips(layout().swatches.at(static_cast<std::size_t>(index)));
}

QRect MainWindowGeometry::eraser()
{
    return fromTwips(layout().eraser);
}

QRect MainWindowGeometry::door()
{
    return fromTwips(layout().door);
}

QRect MainWindowGeometry::back()
{
    return fromTwips(layout().back);
}

QRect MainWindowGeometry::forward()
{
    return fromTwips(layout().forward);
}

QRect MainWindowGeometry::colourBar()
{
    return fromTwips(layout().colourBar);
}

QRect MainWindowGeometry::canvas(QSize picture)
{
    return fromTwips(canvasTwips(picture));
}

namespace {

UndoButtonPlacement::Around around(QSize picture)
{
    const CanvasPlacement p = placed(picture);
    const QRectF mascot(p.mascotLeft, p.mascotTop, StoredControls::mascot.width(),
                        StoredControls::mascot.height());
    return {QSizeF(MainWindowGeometry::kScreenWidthTwips, MainWindowGeometry::kScreenHeightTwips),
            canvasTwips(picture), mascot, layout().back, layout().door};
}

} // namespace

QRect MainWindowGeometry::undo(QSize picture)
{
    return fromTwips(
        UndoButtonPlacement::place(around(picture), StoredControls::undoButton.size()));
}

QRect MainWindowGeometry::gallery(QSize picture)
{
    const QRectF undo =
        UndoButtonPlacement::place(around(picture), StoredControls::undoButton.size());
    return fromTwips(
        GalleryButtonPlacement::place(around(picture), undo, StoredControls::galleryButton));
}

QPoint MainWindowGeometry::colourField(int column, int row)
{
    // Fields span x 6+16k … 17+16k and y 3+16r … 14+16r inside the border.
    const QRect bar = colourBar();
    return {bar.left() + 1 + 6 + 16 * column + 6, bar.top() + 1 + 3 + 16 * row + 6};
}

QPoint MainWindowGeometry::canvasPixel(QSize picture, QPoint inPicture)
{
    return canvas(picture).topLeft() + QPoint(1, 1) + inPicture;
}
