#pragma once

#include <QRectF>
#include <QSizeF>

#include <initializer_list>
#include <optional>

// The first of a control's possible places, in order of preference, that lies
// inside the window and clear of everything it must not cover.
struct ClearPlace {
    static std::optional<QRectF> first(QSizeF window, std::initializer_list<QRectF> places,
                                       std::initializer_list<QRectF> obstacles);
};
