#include "ui/Units.h"

#include <cfenv>
#include <cmath>

std::int64_t roundHalfEven(double value)
{
    // std::nearbyint honours the current rounding mode; pin it so a library
    // that changed the mode cannot change our results.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return static_cast<std::int64_t>(r);
}

std::int64_t floorToInt(double value)
{
    return static_cast<std::int64_t>(std::floor(value));
}

int twipsToPixels(double twips)
{
    return static_cast<int>(roundHalfEven(twips / kTwipsPerPixel));
}

double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}
