#pragma once

#include "core/colour/ColorRef.h"
#include "core/colour/FillResult.h"

#include <QImage>

#include <vector>

// The colour of the pixel at (x, y), or kInvalidColour outside the picture.
ColorRef pixelColour(const QImage& image, int x, int y);

// A run of pixels one fill painted on row y, from left to right inclusive.
struct PaintedSpan {
    int y = 0;
    int left = 0;
    int right = 0;
};

// What one fill painted, for whoever wants to take it back.
struct PaintedArea {
    QRgb replaced = 0; // the 24 colour bits the fill matched
    std::vector<PaintedSpan> spans;
};

// Paints every pixel 4-connected to (x, y) that has exactly the 24-bit colour of
// (x, y) with fillColour (alpha is ignored when comparing). Returns the rectangle
// and number of pixels painted: a press outside the picture, or on an area that
// already has the fill colour, paints none. An image not in Format_RGB32 is
// converted to it before the first pixel is painted. When `painted` is given and
// pixels change, the fill tells it the colour it replaced and appends every run it
// paints, once and in no particular order; runs on one row never overlap but may touch.
FillResult floodFill(QImage& image, int x, int y, ColorRef fillColour,
                     PaintedArea* painted = nullptr);
