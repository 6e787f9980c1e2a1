#pragma once

// A colour read from the palette, taken apart byte by byte. Green is kept as a
// fraction because the palette arithmetic divides the masked middle byte.
struct PickedColour {
    int red = 0;
    double green = 0.0;
    int blue = 0;
};
