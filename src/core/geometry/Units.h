#pragma once

#include "core/rounding/Rounding.h"

#include <cstdint>

// Positions are kept in twips and converted to pixels only here.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr double kTwipsPerInch = 1440.0;
// Picture sizes come in hundredths of a millimetre (HIMETRIC).
inline constexpr double kHimetricPerInch = 2540.0;

// A twip value in whole pixels, rounded halves to even and clamped to int.
int twipsToPixels(double twips);

double pixelsToTwips(double pixels);
