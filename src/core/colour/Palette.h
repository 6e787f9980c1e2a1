#pragma once

#include "core/colour/ColorRef.h"

#include <array>

inline constexpr int kSwatchCount = 11;

// The eleven ever lighter tints the swatches show after a pick on the colour bar:
// element i - 1 adds 15 * i to red and blue and 20 * i to green, each capped at 255.
std::array<ColorRef, kSwatchCount> tintsOf(ColorRef picked);

// The reds the swatches show before any pick: element k is RGB(20 * (k + 1), 0, 0).
std::array<ColorRef, kSwatchCount> startRamp();
