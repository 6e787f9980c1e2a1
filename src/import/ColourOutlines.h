#pragma once

#include <opencv2/core.hpp>

// Draws a line along each boundary between clearly different colours, so a
// coloured area of the picture becomes a white area to colour. A boundary is
// a sharp change of colour, so gradients and soft shading make none however
// far their colour drifts, and a thin outline of a third colour between two
// areas becomes one line.
class ColourOutlines {
public:
    // `colour` is 8-bit at page size; `lines` (255 = line) are the
    // picture's own lines, which already separate what they divide. Returns
    // the boundaries to add to them (255), one point wide and two where
    // they meet a line.
    static cv::Mat edges(const cv::Mat& colour, const cv::Mat& lines);
};
