#pragma once

#include <opencv2/core.hpp>

// Draws a line along each boundary between clearly different colours, so a
// coloured area of the picture becomes a white area to colour. Gentle
// shading does not make a boundary: neighbouring points join an area while
// they differ by little, however far the colour drifts across it.
class ColourOutlines {
public:
    // Points of colour that differ from a neighbour by more than this, in
    // any channel, start another area.
    static constexpr int kTolerance = 14;

    // `colour` is 8-bit BGR at page size; `lines` (255 = line) are the
    // picture's own lines, which already separate what they divide. Adds the
    // boundaries to `lines`, two points wide like a thin drawn line.
    static void add(const cv::Mat& colour, cv::Mat& lines);
};
