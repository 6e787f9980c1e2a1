#include "import/ColourOutlines.h"

#include <opencv2/imgproc.hpp>

namespace {

// Sobel steps (3 × 3, four times the step in level) that make an edge: a
// change of about 40 levels across a few points starts one, 25 carries it
// on. Shading changes a level or two a point and makes none.
constexpr double kStrong = 160;
constexpr double kWeak = 100;
// Edges this close to a drawn line are that line's own sides.
constexpr int kSide = 1;
// Two edges this close are both sides of a thin outline of some colour:
// they become one line as wide as the outline.
constexpr int kOutline = 5;
// How near a drawn line an edge is widened to meet it.
constexpr int kMeet = 2;

cv::Mat kernel(int shape, int size)
{
    return cv::getStructuringElement(shape, cv::Size(size, size));
}

} // namespace

cv::Mat ColourOutlines::edges(const cv::Mat& colour, const cv::Mat& lines)
{
    // The drawn lines are covered with the lightest colour beside them, so
    // that only boundaries of colour make edges, not the lines' own sides.
    cv::Mat nearLine, lightest, bare = colour.clone();
    cv::dilate(lines, nearLine, kernel(cv::MORPH_RECT, 2 * kSide + 1));
    cv::dilate(colour, lightest, kernel(cv::MORPH_RECT, 2 * kSide + 3));
    lightest.copyTo(bare, nearLine);
    cv::Mat edges;
    // Canny takes the strongest channel's step, so a change of hue alone
    // (red beside green of the same grey) makes an edge too.
    cv::Canny(bare, edges, kWeak, kStrong, 3, true);
    cv::morphologyEx(edges, edges, cv::MORPH_CLOSE, kernel(cv::MORPH_ELLIPSE, kOutline));
    // Where an edge meets a drawn line it is made two points wide, so that
    // it joins the line without a break the colour could slip through.
    cv::Mat wide, meeting;
    cv::dilate(edges, wide, kernel(cv::MORPH_RECT, 2));
    cv::dilate(lines, meeting, kernel(cv::MORPH_RECT, 2 * kMeet + 1));
    return edges | (wide & meeting);
}
