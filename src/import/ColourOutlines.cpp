#include "import/ColourOutlines.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>
#include <vector>

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

// The picture with each drawn line (and its soft edge) covered by the colour
// nearest to each of its points: each side's colour reaches to the line's
// middle, so that the lines' own sides make no edge, and a boundary of colour
// that a line runs along stays inside the line.
cv::Mat covered(const cv::Mat& colour, const cv::Mat& lines)
{
    cv::Mat nearLine, distance, nearest;
    cv::dilate(lines, nearLine, kernel(cv::MORPH_RECT, 2 * kSide + 1));
    cv::distanceTransform(nearLine, distance, nearest, cv::DIST_L2, cv::DIST_MASK_5,
                          cv::DIST_LABEL_PIXEL);
    // The points off the lines are numbered from 1 in the order of rows.
    std::vector<cv::Vec3b> off{cv::Vec3b()};
    for (int y = 0; y < colour.rows; ++y) {
        for (int x = 0; x < colour.cols; ++x) {
            if (!nearLine.at<uchar>(y, x))
                off.push_back(colour.at<cv::Vec3b>(y, x));
        }
    }
    cv::Mat bare = colour.clone();
    bare.forEach<cv::Vec3b>([&](cv::Vec3b& c, const int* at) {
        if (nearLine.at<uchar>(at[0], at[1]))
            c = off[std::min(off.size() - 1, size_t(nearest.at<int>(at[0], at[1])))];
    });
    return bare;
}

} // namespace

cv::Mat ColourOutlines::edges(const cv::Mat& colour, const cv::Mat& lines)
{
    const cv::Mat bare = covered(colour, lines);
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
