#include "core/geometry/DisplayZoom.h"

#include "core/geometry/Units.h"
#include "core/rounding/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int floorOf(double value)
{
    return static_cast<int>(std::floor(value));
}

int ceilOf(double value)
{
    return static_cast<int>(std::ceil(value));
}

} // namespace

int DisplayZoom::widgetPixels(double twips) const
{
    return twipsToPixels(twips * widgetScale());
}

double DisplayZoom::twipsOf(double widgetPixels) const
{
    return widgetPixels * kTwipsPerPixel / widgetScale();
}

int DisplayZoom::widgetLength(double pixels) const
{
    return static_cast<int>(roundHalfEven(pixels * widgetScale()));
}

QSize DisplayZoom::compositionSize(QSize widget) const
{
    if (isOneToOne())
        return widget;
    return {static_cast<int>(roundHalfEven(widget.width() / widgetScale())),
            static_cast<int>(roundHalfEven(widget.height() / widgetScale()))};
}

QRect DisplayZoom::widgetRectOf(const QRect& pixels) const
{
    if (isOneToOne())
        return pixels;
    const QRect device = m_device.toDevice(pixels);
    const double scale = m_desktopScale;
    return {QPoint(floorOf(device.left() / scale), floorOf(device.top() / scale)),
            QPoint(ceilOf((device.right() + 1) / scale) - 1,
                   ceilOf((device.bottom() + 1) / scale) - 1)};
}

QRect DisplayZoom::deviceRectOf(const QRect& widget) const
{
    const double scale = m_desktopScale;
    return {QPoint(floorOf(widget.left() * scale), floorOf(widget.top() * scale)),
            QPoint(ceilOf((widget.right() + 1) * scale) - 1,
                   ceilOf((widget.bottom() + 1) * scale) - 1)};
}

QPointF DisplayZoom::compositionPointAt(QPointF widget) const
{
    if (isOneToOne())
        return widget;
    const QPointF device = widget * m_desktopScale;
    return {double(m_device.pixelAt(floorOf(device.x()))),
            double(m_device.pixelAt(floorOf(device.y())))};
}

QPoint DisplayZoom::pressedPixel(QPointF widget, int inset) const
{
    const QPointF at = compositionPointAt(widget) - QPointF(inset, inset);
    return {pressToPixel(static_cast<float>(at.x())), pressToPixel(static_cast<float>(at.y()))};
}

int DisplayZoom::pressToPixel(float v)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(v))
        return std::numeric_limits<int>::min();
    return static_cast<int>(roundHalfEven(std::clamp(static_cast<double>(v), lowest, highest)));
}
