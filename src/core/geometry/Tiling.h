#pragma once

#include <QSize>
#include <functional>

// Wallpaper arithmetic for the window background, in twips.
struct Tiling {
    // A picture's natural size in twips: pixels to whole hundredths of a
    // millimetre first, then to twips, each rounded halves-to-even.
    static QSize tileSizeInTwips(QSize pixels, double dotsPerInch = 96.0);

    // Top-left corners of the tiles, row by row from the top-left corner; both
    // bounds inclusive. A step below one twip counts as one so that a tiny
    // picture can never stall the tiler.
    static void forEachTile(QSize tile, double innerWidth, double innerHeight,
                            const std::function<void(int x, int y)>& draw);
};
