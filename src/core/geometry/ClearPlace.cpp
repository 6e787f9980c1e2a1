#include "core/geometry/ClearPlace.h"

#include <algorithm>

std::optional<QRectF> ClearPlace::first(QSizeF window, std::initializer_list<QRectF> places,
                                        std::initializer_list<QRectF> obstacles)
{
    const QRectF inside(QPointF(0, 0), window);
    for (const QRectF& place : places) {
        const bool clear = std::none_of(obstacles.begin(), obstacles.end(),
                                        [&](const QRectF& o) { return place.intersects(o); });
        if (inside.contains(place) && clear)
            return place;
    }
    return std::nullopt;
}
