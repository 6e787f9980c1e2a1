#include "core/geometry/UndoButtonPlacement.h"

#include <array>

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

bool free(const UndoButtonPlacement::Around& around, const QRectF& place)
{
    return place.left() >= 0 && place.top() >= 0 && place.right() <= around.window.width() &&
           place.bottom() <= around.window.height() && !place.intersects(around.canvas);
}

} // namespace

QRectF UndoButtonPlacement::place(const Around& around, QSizeF button)
{
    const QRectF usual = belowAnimation(around, button);
    const std::array<QRectF, 3> places{
        usual,
        QRectF(QPointF(around.back.left() - kBandGap - button.width(), around.back.top()), button),
        QRectF(QPointF(around.door.right() + kBandGap, around.door.top()), button)};
    for (const QRectF& place : places) {
        if (free(around, place))
            return place;
    }
    return usual;
}
