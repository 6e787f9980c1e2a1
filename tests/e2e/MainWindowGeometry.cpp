#include "e2e/MainWindowGeometry.h"

#include <cmath>

// Stored sizes in pixels: a button 855 × 1000 (or 1005) twips is 57 × 67, a
// swatch 495 × 450 is 33 × 30, the colour bar 5430 × 525 is 362 × 35.
//
// The swatch row is centred: margin floor((15360 − 11 × 495) / 2) = 4957
// twips (330 px), tops at 11520 − 475 = 11045 (736 px). The buttons and the
// bar stand with their bottoms level with the swatches': top 10495 (700 px).
// Forward stands 25 twips left of the row at 4077 (272 px), back one
// button's width further at 3222 (215 px); the eraser 25 past the bar at
// 10412 (694 px), the door 25 past it at 11292 (753 px).
QRect MainWindowGeometry::swatch(int index)
{
    return {330 + 33 * index, 736, 33, 30};
}

QRect MainWindowGeometry::eraser()
{
    return {694, 700, 57, 67};
}

QRect MainWindowGeometry::door()
{
    return {753, 700, 57, 67};
}

QRect MainWindowGeometry::back()
{
    return {215, 700, 57, 67};
}

QRect MainWindowGeometry::forward()
{
    return {272, 700, 57, 67};
}

QRect MainWindowGeometry::colourBar()
{
    return {330, 700, 362, 35};
}

namespace {

int halfToEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode
}

} // namespace

QRect MainWindowGeometry::canvas(QSize picture)
{
    // The picture with a one-pixel border, centred across the screen and,
    // in twips rounded halves to even, between the top and the bar's 10495.
    // Taller than that room, it starts at 5 twips and runs down to 25 above
    // the bar.
    const int width = picture.width() + 2;
    const double topTwips = std::nearbyint((10495 - 15.0 * (picture.height() + 2)) / 2);
    const int left = halfToEven((1024 - width) / 2.0);
    if (topTwips < 1)
        return {left, 0, width, halfToEven((10495 - 25) / 15.0)};
    return {left, halfToEven(topTwips / 15), width, picture.height() + 2};
}

// Beside a 640 × 480 page the canvas spans 2865 … 12495 twips across, top
// 1632; the animation stands 100 to its right at 12595, 1365 high, and each
// button 120 below what is above it: undo at 3117, the pages' view at 4237.
QRect MainWindowGeometry::undo()
{
    return {840, 208, 57, 67};
}

QRect MainWindowGeometry::gallery()
{
    return {840, 282, 57, 67};
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
