#pragma once

#include <opencv2/core.hpp>

// Draws a line along each boundary between clearly different colours, so a
// coloured area of the picture becomes a white area to colour. A boundary is
// a sharp change of colour, so gradients and soft shading make none however
// far their colour drifts, and a thin outline of a third colour between two
// areas becomes one line.
class ColourOutlines {
public:
    // `colour` is 8-bit BGR at page size; `lines` (255 = line) are the
    // picture's own lines, which already separate what they divide. Adds the
    // boundaries to `lines`, two points wide like a thin drawn line.
    static void add(const cv::Mat& colour, cv::Mat& lines);
};
