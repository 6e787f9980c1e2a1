#include "core/geometry/GalleryButtonPlacement.h"

#include "core/geometry/ClearPlace.h"

#include <algorithm>

QRectF GalleryButtonPlacement::place(const UndoButtonPlacement::Around& around, const QRectF& undo,
                                     QSizeF button)
{
    constexpr double gap = UndoButtonPlacement::kBandGap;
    const double step = button.width() + gap;
    const QRectF below(QPointF(undo.left(), undo.bottom() + UndoButtonPlacement::kGap), button);
    const QPointF leftOfBack(around.back.left() - step, around.back.top());
    const QPointF rightOfDoor(around.door.right() + gap, around.door.top());
    const std::optional<QRectF> free = ClearPlace::first(
        around.window,
        {below, QRectF(QPointF(undo.right() + gap, undo.top()), button), QRectF(leftOfBack, button),
         QRectF(leftOfBack - QPointF(step, 0), button), QRectF(rightOfDoor, button),
         QRectF(rightOfDoor + QPointF(step, 0), button)},
        {around.canvas, around.mascot, undo, around.back, around.door});
    if (free)
        return *free;
    const double left = std::min(below.left(), around.window.width() - button.width());
    const double top = std::min(below.top(), around.window.height() - button.height());
    return {QPointF(std::max(0.0, left), std::max(0.0, top)), button};
}
