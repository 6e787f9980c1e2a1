#include "e2e/MainWindowGeometry.h"

#include <cfenv>
#include <cmath>

int MainWindowGeometry::toPixels(double twips)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double pixels = std::nearbyint(twips / kTwipsPerPixel);
    std::fesetround(saved);
    return static_cast<int>(pixels);
}

QRect MainWindowGeometry::fromTwips(double left, double top, double width, double height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

QRect MainWindowGeometry::swatch(int index)
{
    return fromTwips(4957 + 495 * index, 11045, 495, 450);
}

QRect MainWindowGeometry::eraser()
{
    return fromTwips(10412, kColourBarTopTwips, 855, 1005);
}

QRect MainWindowGeometry::door()
{
    return fromTwips(11292, kColourBarTopTwips, 855, 1005);
}

QRect MainWindowGeometry::back()
{
    return fromTwips(3222, kColourBarTopTwips, 855, 1000);
}

QRect MainWindowGeometry::forward()
{
    return fromTwips(4077, kColourBarTopTwips, 855, 1000);
}

QRect MainWindowGeometry::colourBar()
{
    return fromTwips(4957, kColourBarTopTwips, 5430, 525);
}

QRect MainWindowGeometry::canvas(QSize picture)
{
    // The canvas is its picture with a one-pixel border all round.
    const double width = (picture.width() + 2) * kTwipsPerPixel;
    double height = (picture.height() + 2) * kTwipsPerPixel;
    const double left = (kScreenWidthTwips - width) / 2;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double t = std::nearbyint((kColourBarTopTwips - height) / 2);
    std::fesetround(saved);
    double top = t;
    if (t < 1) {
        top = 5;
        height = kColourBarTopTwips - 25;
    }
    return fromTwips(left, top, width, height);
}

QRect MainWindowGeometry::undo(QSize picture)
{
    // The animation (1350 × 1365) stands 100 twips right of the canvas, at its top.
    const double width = (picture.width() + 2) * kTwipsPerPixel;
    const double top =
        std::nearbyint((kColourBarTopTwips - (picture.height() + 2) * kTwipsPerPixel) / 2);
    return fromTwips((kScreenWidthTwips - width) / 2 + width + 100, top + 1365 + 120, 855, 1000);
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
