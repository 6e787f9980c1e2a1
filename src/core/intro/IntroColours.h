#pragma once

#include "core/colour/ColorRef.h"

class IntroRandom;

// The intro window's sixteen flashing colours and how a draw picks one.
class IntroColours {
public:
    static constexpr int kCount = 16;
    static constexpr int kLightRed = 12;

    // Colour number 0 to 15 → colour; any other number is a programming error.
    static ColorRef colour(int number);

    // The whole number nearest to r × 15, ties to even: 0 to 15 for r in
    // [0, 1), with 0 and 15 half as likely as the others.
    static int colourNumber(double r);

    // One draw from the shared generator.
    static int draw(IntroRandom& random);
};
