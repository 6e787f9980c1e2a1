#include "core/colour/Palette.h"

#include <algorithm>

std::array<ColorRef, kSwatchCount> tintsOf(ColorRef picked)
{
    std::array<ColorRef, kSwatchCount> tints{};
    for (int i = 1; i <= kSwatchCount; ++i) {
        tints[static_cast<std::size_t>(i - 1)] = rgbColour(std::min(redOf(picked) + 15 * i, 255),
                                                           std::min(greenOf(picked) + 20 * i, 255),
                                                           std::min(blueOf(picked) + 15 * i, 255));
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
