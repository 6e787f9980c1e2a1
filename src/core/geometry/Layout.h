#pragma once

#include "colour/Palette.h"

#include <QRectF>
#include <array>

// The bottom band, the canvas and the animated picture laid out for a screen.
// Inputs are the screen size and the stored control sizes; the result holds
// every position, all in twips.
struct Layout {
    struct Sizes {
        double swatchWidth = 495;
        double command4Width = 855, command4Height = 1000;
        double command3Width = 855, command3Height = 1000;
        double command1Width = 855, command1Height = 1005;
        double command2Width = 855, command2Height = 1005;
        double picture3Width = 5430, picture3Height = 525;
        double picture1Width = 5445, picture1Height = 3405;
        double saltarinWidth = 1350, saltarinHeight = 1365;
    };

    static constexpr double kSwatchHeight = 450;

    long long margin = 0; // M: wide, so a very wide screen cannot overflow it
    std::array<QRectF, kSwatchCount> picture2{};
    QRectF command4, command3, picture3, command1, command2, picture1, saltarin1;

    static Layout compute(double screenWidth, double screenHeight, const Sizes& sizes);
};
