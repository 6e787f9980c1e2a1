#pragma once

#include <opencv2/core.hpp>

// Makes a page a child can colour from a photograph: the picture is
// smoothed while keeping its edges, its colours gathered into a few, parts
// smaller than a fingertip merged into a neighbour and the parts' boundaries
// drawn as smooth closed lines.
class PhotoPage {
public:
    // The areas a page from a photograph gets: enough to colour, few enough
    // for small fingers, none taking most of the page.
    static constexpr int kMinAreas = 12;
    static constexpr int kMaxAreas = 150;
    static constexpr double kLargestShare = 0.4;

    // Whether `rgb` (8-bit, page size) is a photograph: anything that does
    // not look like a drawing, which is mostly paper with strokes, or
    // flat areas of a few colours with sharp edges and little shading.
    static bool looksLikePhoto(const cv::Mat& rgb);

    // The lines (255) of the page made from the photograph `rgb`.
    static cv::Mat lines(const cv::Mat& rgb);

private:
    // A line of two points' width wherever two neighbouring areas meet.
    static cv::Mat boundaries(const cv::Mat& label);
};
