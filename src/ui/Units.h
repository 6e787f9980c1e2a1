#pragma once

#include <cstdint>

// Positions are kept in twips and converted to pixels only here.
inline constexpr int kTwipsPerPixel = 15;

// Whole numbers from fractions: the nearest, halves to the even neighbour.
std::int64_t roundHalfEven(double value);

// Floor towards minus infinity, for the few places that drop the half.
std::int64_t floorToInt(double value);

// Pixel position or size of a twip value, rounded halves-to-even.
int twipsToPixels(double twips);

double pixelsToTwips(double pixels);
