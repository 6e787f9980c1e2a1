#include "colour/Palette.h"

#include "geometry/Units.h"

#include <algorithm>

PickedColour splitColour(ColorRef picked)
{
    PickedColour parts;
    parts.red = static_cast<int>(picked % 256u);
    parts.green = static_cast<double>(picked & 0x0000FF00u) / 256.0;
    parts.blue = static_cast<int>((picked & 0x00FF0000u) / 65536u);
    return parts;
}

ColorRef joinColour(const PickedColour& parts)
{
    return rgbColour(parts.red, static_cast<int>(roundHalfEven(parts.green)), parts.blue);
}

std::array<ColorRef, kSwatchCount> tintsOf(ColorRef picked)
{
    const PickedColour parts = splitColour(picked);
    std::array<ColorRef, kSwatchCount> tints{};
    for (int i = 1; i <= kSwatchCount; ++i) {
        const int red = std::min(parts.red + 15 * i, 255);
        const double green = std::min(parts.green + 20.0 * i, 255.0);
        const int blue = std::min(parts.blue + 15 * i, 255);
        tints[static_cast<std::size_t>(i - 1)] = joinColour({red, green, blue});
    }
    return tints;
}

std::array<ColorRef, kSwatchCount> startRamp()
{
    std::array<ColorRef, kSwatchCount> ramp{};
    for (int k = 0; k < kSwatchCount; ++k) {
        ramp[static_cast<std::size_t>(k)] = rgbColour(20 * (k + 1), 0, 0);
    }
    return ramp;
}
