#pragma once

#include <opencv2/core.hpp>

// Finds the lines of a grey page: 255 where there is line, 0 elsewhere.
// Each point is judged against the paper and ink around it rather than one
// level for the whole page, so lines on grey or unevenly lit paper, and
// faint lines beside dark ones, are all kept; black strokes are lines up to
// a bold outline's width, and wider black areas and dark areas of colour
// wider than a line are left out, for the colour outlines to go round them.
class InkFinder {
public:
    // How far, in points, the paper round a line is looked for; lines up to
    // about this wide are lines, anything wider is an area of colour.
    static constexpr int kReach = 12;

    // `colourful` (255 where a point is clearly coloured, may be empty): such
    // points are areas of colour however dark, for the colour outlines.
    static cv::Mat lines(const cv::Mat& grey, const cv::Mat& colourful = {});
};
