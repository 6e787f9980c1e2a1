#pragma once

#include <cstdint>

// Whole numbers from fractions: the nearest, halves to the even neighbour.
// NaN gives 0 and values beyond the 64-bit range the nearest end of it, so
// no conversion is ever undefined.
std::int64_t roundHalfEven(double value);

// Floor towards minus infinity, for the few places that drop the half;
// clamped like roundHalfEven.
std::int64_t floorToInt(double value);
