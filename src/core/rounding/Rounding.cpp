#include "core/rounding/Rounding.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace {

// The largest double below 2^63 and the smallest at or above -2^63: every
// double in between converts to int64 exactly.
constexpr double kWideMax = 9223372036854774784.0;
constexpr double kWideMin = -9223372036854775808.0;

std::int64_t toWide(double whole)
{
    if (std::isnan(whole))
        return 0;
    return static_cast<std::int64_t>(std::clamp(whole, kWideMin, kWideMax));
}

} // namespace

std::int64_t roundHalfEven(double value)
{
    // std::nearbyint honours the current rounding mode; pin it so a library
    // that changed the mode cannot change our results.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return toWide(r);
}

std::int64_t floorToInt(double value)
{
    return toWide(std::floor(value));
}
