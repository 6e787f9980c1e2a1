#include "import/InkFinder.h"

#include <algorithm>
#include <opencv2/imgproc.hpp>

namespace {

// Ink and paper this far apart are a crisp line: cut halfway between them,
// so antialiasing and JPEG noise fall on the side they are closest to.
constexpr int kCrisp = 80;
// A faint line only needs to be this much darker than its paper; paper
// texture and scan noise stay well below it once the page is scaled down.
constexpr int kFaint = 45;
// How far from a crisp line its own soft edge reaches.
constexpr int kEdge = 2;
// Darker than this is black ink; lighter dark points may be an area of
// colour beside a black line, and are told apart from it.
constexpr int kBlack = 60;
// How far, in points, an area's ragged rim reaches beyond a clean edge.
constexpr int kRim = 3;
// Black strokes up to this share of the page's shorter side are the bold
// outlines of pages for the youngest: lines, however wide.
constexpr double kBoldShare = 0.04;

cv::Mat square(int reach)
{
    return cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * reach + 1, 2 * reach + 1));
}

// Points darker than the paper within reach: crisp where ink and paper are
// far apart, faint where the point is only a little darker.
void darkerThanPaper(const cv::Mat& grey, int reach, cv::Mat& crisp, cv::Mat& faint)
{
    cv::Mat paper, darkest;
    cv::dilate(grey, paper, square(reach));
    cv::erode(grey, darkest, square(reach));
    crisp.create(grey.size(), CV_8UC1);
    faint.create(grey.size(), CV_8UC1);
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* g = grey.ptr<uchar>(y);
        const uchar* p = paper.ptr<uchar>(y);
        const uchar* d = darkest.ptr<uchar>(y);
        uchar* c = crisp.ptr<uchar>(y);
        uchar* f = faint.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x) {
            c[x] = p[x] - d[x] >= kCrisp && 2 * g[x] < p[x] + d[x] ? 255 : 0;
            f[x] = g[x] + kFaint <= p[x] ? 255 : 0;
        }
    }
}

// The ragged rim an opening leaves at an area's edge (JPEG blocks, noise)
// belongs to the area, not to a line: grows it back within `within`.
void regrowRim(cv::Mat& areas, const cv::Mat& within)
{
    const cv::Mat step = square(1);
    for (int i = 0; i < kRim; ++i) {
        cv::dilate(areas, areas, step);
        areas &= within;
    }
}

} // namespace

cv::Mat InkFinder::lines(const cv::Mat& grey, const cv::Mat& colourful)
{
    cv::Mat crisp, faint;
    darkerThanPaper(grey, kReach, crisp, faint);
    // A faint line is what is darker than its paper away from a crisp line's
    // soft edge; where it meets a crisp line, the break left is closed later.
    cv::Mat nearCrisp;
    cv::dilate(crisp, nearCrisp, square(kEdge));
    // What a disc wider than any line fits in is an area, not a line: black
    // and lighter points apart, so a black outline round a grey area stays.
    const cv::Mat dark = crisp | faint;
    cv::Mat black;
    cv::threshold(grey, black, kBlack - 1, 255, cv::THRESH_BINARY_INV);
    const cv::Mat disc =
        cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(kReach * 3 / 4, kReach * 3 / 4));
    const int bold = int(std::min(grey.rows, grey.cols) * kBoldShare) + 2;
    const cv::Mat boldDisc = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(bold, bold));
    cv::Mat blackAreas, colourAreas;
    // Black is judged on its own: the middle of a bold stroke has no paper
    // within reach, but it is a line as long as it is no wider than that.
    cv::morphologyEx(black, blackAreas, cv::MORPH_OPEN, boldDisc);
    const cv::Mat darkColour = dark & ~black;
    cv::morphologyEx(darkColour, colourAreas, cv::MORPH_OPEN, disc);
    regrowRim(blackAreas, black);
    regrowRim(colourAreas, darkColour);
    cv::Mat found = (crisp | black | (faint & ~nearCrisp)) & ~(blackAreas | colourAreas);
    if (!colourful.empty())
        found &= ~colourful;
    return found;
}
