#pragma once

#include "core/colour/Palette.h"

#include <QRectF>
#include <array>

// The bottom band, the canvas and the animated picture laid out for a screen.
// Inputs are the screen size and the stored control sizes; the result holds
// every position, all in twips.
struct Layout {
    static constexpr double kSwatchHeight = 450;

    long long margin = 0; // M: wide, so a very wide screen cannot overflow it
    std::array<QRectF, kSwatchCount> swatches{};
    QRectF forward, back, colourBar, eraser, door, canvas, mascot;

    static Layout compute(double screenWidth, double screenHeight);
};
