#include "core/geometry/Units.h"

#include <algorithm>
#include <limits>

int twipsToPixels(double twips)
{
    return static_cast<int>(std::clamp<std::int64_t>(roundHalfEven(twips / kTwipsPerPixel),
                                                     std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}
