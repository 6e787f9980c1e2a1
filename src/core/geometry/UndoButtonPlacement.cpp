#include "core/geometry/UndoButtonPlacement.h"

#include "core/geometry/ClearPlace.h"

namespace {

QRectF belowAnimation(const UndoButtonPlacement::Around& around, QSizeF button)
{
    // Pulled back inside the window where the animation stands off its
    // right (or bottom) edge.
    double left = around.mascot.left();
    double top = around.mascot.bottom() + UndoButtonPlacement::kGap;
    if (left + button.width() > around.window.width())
        left = around.window.width() - button.width();
    if (top + button.height() > around.window.height())
        top = around.window.height() - button.height();
    return {QPointF(left, top), button};
}

} // namespace

QRectF UndoButtonPlacement::place(const Around& around, QSizeF button)
{
    const QRectF usual = belowAnimation(around, button);
    const std::optional<QRectF> free = ClearPlace::first(
        around.window,
        {usual,
         QRectF(QPointF(around.back.left() - kBandGap - button.width(), around.back.top()), button),
         QRectF(QPointF(around.door.right() + kBandGap, around.door.top()), button)},
        {around.canvas});
    return free.value_or(usual);
}
