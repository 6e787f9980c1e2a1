#pragma once

#include <cstdint>

// Positions are kept in twips and converted to pixels only here.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kTwipsPerInch = 1440.0;
// Picture sizes come in hundredths of a millimetre (HIMETRIC).
inline constexpr double kHimetricPerInch = 2540.0;

// Whole numbers from fractions: the nearest, halves to the even neighbour.
// NaN gives 0 and values beyond the 64-bit range the nearest end of it, so
// no conversion is ever undefined.
std::int64_t roundHalfEven(double value);

// Floor towards minus infinity, for the few places that drop the half;
// clamped like roundHalfEven.
std::int64_t floorToInt(double value);

// Pixel position or size of a twip value, rounded halves-to-even. Wide, so a
// huge picture cannot wrap round before a widget's geometry takes it.
std::int64_t twipsToPixels(double twips);

// A twip value as a widget coordinate: twipsToPixels clamped to int.
int widgetPixels(double twips);

double pixelsToTwips(double pixels);

// A HIMETRIC extent in pixels at the given resolution, halves to even.
std::int64_t himetricToPixels(double himetric, double dotsPerInch);
