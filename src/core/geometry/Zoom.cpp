#include "core/geometry/Zoom.h"

#include <algorithm>
#include <cmath>

double Zoom::forScreen(QSize devicePixels)
{
    const double zoom = std::min(devicePixels.width() / double(kBaseWidth),
                                 devicePixels.height() / double(kBaseHeight));
    return std::clamp(zoom, 1.0, kLargest);
}

int Zoom::edge(int pixel) const
{
    return static_cast<int>(std::floor(pixel * m_factor));
}

int Zoom::pixelAt(int device) const
{
    // A first guess from the division, then settled against the edges
    // themselves, so rounding in the division can never disagree with them.
    int pixel = static_cast<int>(std::floor(device / m_factor));
    while (pixel > 0 && edge(pixel) > device)
        --pixel;
    while (edge(pixel + 1) <= device)
        ++pixel;
    while (edge(pixel) > device)
        --pixel;
    return pixel;
}

QRect Zoom::toDevice(const QRect& pixels) const
{
    return QRect(QPoint(edge(pixels.left()), edge(pixels.top())),
                 QPoint(edge(pixels.right() + 1) - 1, edge(pixels.bottom() + 1) - 1));
}

QSize Zoom::screenAsSeen(QSize devicePixels) const
{
    return {static_cast<int>(std::floor(devicePixels.width() / m_factor)),
            static_cast<int>(std::floor(devicePixels.height() / m_factor))};
}
