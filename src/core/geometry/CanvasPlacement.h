#pragma once

// Where the canvas goes after a picture has been put on it: centred across
// the screen and midway in the band above the colour bar, or pinned near the
// top and cut to fit when it does not fit. All values in twips.
struct CanvasPlacement {
    // The flat border, in pixels, around a picture control's picture.
    static constexpr int kPictureBorder = 1;

    // When the canvas is pinned to the top: when its gap above the colour bar
    // is gone, or already when that gap is a single twip or less.
    enum class Pin { WithoutGap, WithinOneTwip };

    double canvasLeft = 0;
    double canvasTop = 0;
    double canvasHeight = 0;
    double mascotLeft = 0;
    double mascotTop = 0;

    // Computed wide, so a very tall drawing never overflows the arithmetic.
    static CanvasPlacement place(double screenWidth, double colourBarTop, double canvasWidth,
                                 double canvasHeight, Pin pin);
};
