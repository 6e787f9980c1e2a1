#pragma once

#include "core/geometry/Zoom.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// The zoom the windows are shown at, decided once by main() and handed to
// each window: `zoom` device pixels show one pixel of the composition, and
// the desktop already shows each widget pixel with `desktopScale` device
// pixels, so the widgets take zoom / desktopScale and the two are never
// multiplied. Twips become widget pixels only here.
class DisplayZoom {
public:
    DisplayZoom() = default;
    DisplayZoom(double zoom, double desktopScale) : m_device(zoom), m_desktopScale(desktopScale) {}

    double zoom() const { return m_device.factor(); }
    double desktopScale() const { return m_desktopScale; }
    // Widget pixels per composition pixel.
    double widgetScale() const { return zoom() / m_desktopScale; }
    // Shown 1:1 a picture is drawn as it is; zoomed, each device pixel is
    // worked out from the composition pixel it shows.
    bool isOneToOne() const { return zoom() == 1.0 && m_desktopScale == 1.0; }
    const Zoom& device() const { return m_device; }

    // A twip value as a widget coordinate, rounded halves to even and
    // clamped to int.
    int widgetPixels(double twips) const;
    // A widget extent in twips: the screen as seen at the zoom.
    double twipsOf(double widgetPixels) const;
    // A length in composition pixels (a pen, a font's size) in whole widget
    // pixels, halves to even.
    int widgetLength(double pixels) const;

    // A widget's size in composition pixels.
    QSize compositionSize(QSize widget) const;
    // The widget rectangle that shows a rectangle of composition pixels.
    QRect widgetRectOf(const QRect& pixels) const;
    // The device pixels a widget rectangle covers.
    QRect deviceRectOf(const QRect& widget) const;
    // The composition pixel, as a point, under a widget point.
    QPointF compositionPointAt(QPointF widget) const;
    // The composition pixel a press at a widget point lands on, counted
    // from `inset` pixels in from the widget's top-left.
    QPoint pressedPixel(QPointF widget, int inset) const;

    // Pixel index of a press position: the nearest whole number, halves to
    // the even neighbour (2.5 gives 2, 3.5 gives 4). Positions beyond the int
    // range saturate.
    static int pressToPixel(float v);

private:
    Zoom m_device;
    double m_desktopScale = 1.0;
};
