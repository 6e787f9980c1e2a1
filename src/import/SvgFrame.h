#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSizeF>

// The frame an SVG drawing declares on its root element: its size, turned
// into CSS pixels (96 to the inch, as browsers and drawing programs count
// them), and the part of its drawing plane it shows.
struct SvgFrame {
    QSizeF size;    // empty when the drawing gives no absolute size
    QRectF viewBox; // empty when it gives none

    // Reads the root element of an uncompressed SVG document.
    static SvgFrame read(const QByteArray& document);

    // The part of the plane to show: the view box, or else the size itself
    // in the drawing's own units, which are CSS pixels.
    QRectF shown() const { return viewBox.isEmpty() ? QRectF(QPointF(), size) : viewBox; }
    // The page's shape: the size, or else the view box's.
    QSizeF shape() const { return size.isEmpty() ? viewBox.size() : size; }
};
