#pragma once

#include "colour/ColorRef.h"

#include <QImage>

// Pixel index of a press position: the nearest whole number, halves to the even
// neighbour (2.5 gives 2, 3.5 gives 4). Positions beyond the int range saturate.
int pressToPixel(float v);

// The colour of the pixel at (x, y), or kInvalidColour outside the picture.
ColorRef pixelColour(const QImage& image, int x, int y);

// Paints every pixel 4-connected to (x, y) that has exactly the 24-bit colour of
// (x, y) with fillColour (alpha is ignored when comparing). Returns whether any
// pixel changed: a press outside the picture, or on an area that already has the
// fill colour, changes nothing. An image not in Format_RGB32 is converted to it
// before the first pixel is painted.
bool floodFill(QImage& image, int x, int y, ColorRef fillColour);
