#include "import/ColourOutlines.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// An area narrower than this, in points, is a soft edge or antialiasing
// between two others and gets no boundary of its own.
constexpr int kCore = 2;
// Areas with fewer points than this clear of their edge are merged into
// their neighbours: JPEG blocks, noise, specks of colour.
constexpr int kMinCore = 24;

// Areas whose average colours differ by less than this in every channel are
// one area that noise or shading split: no boundary is drawn between them.
constexpr int kDistinct = 40;
constexpr int kDarker = 30;

struct Areas {
    std::vector<int> label;       // 0: line, or not yet part of an area
    std::vector<int> size;        // points clear of the edge, per label
    std::vector<cv::Vec3d> total; // the sum of its colours, per label
    std::vector<int> points;      // all its points, per label
};

bool close(const cv::Vec3b& a, const cv::Vec3b& b)
{
    return std::abs(a[0] - b[0]) <= ColourOutlines::kTolerance &&
           std::abs(a[1] - b[1]) <= ColourOutlines::kTolerance &&
           std::abs(a[2] - b[2]) <= ColourOutlines::kTolerance;
}

// Grows an area from each unlabelled point through neighbours of close colour.
Areas grow(const cv::Mat& colour, const cv::Mat& lines)
{
    const int width = colour.cols, height = colour.rows;
    Areas areas{std::vector<int>(size_t(width) * size_t(height), 0), {0}, {{}}, {0}};
    std::vector<int> queue;
    const auto at = [&](int i) { return colour.at<cv::Vec3b>(i / width, i % width); };
    for (int start = 0; start < width * height; ++start) {
        if (areas.label[size_t(start)] || lines.data[start])
            continue;
        const int label = int(areas.size.size());
        areas.size.push_back(0);
        areas.label[size_t(start)] = label;
        queue.assign(1, start);
        cv::Vec3d total;
        for (size_t next = 0; next < queue.size(); ++next) {
            const int i = queue[next], x = i % width;
            total += cv::Vec3d(at(i));
            for (const int n : {x > 0 ? i - 1 : -1, x + 1 < width ? i + 1 : -1, i - width,
                                i + width < width * height ? i + width : -1}) {
                if (n >= 0 && !areas.label[size_t(n)] && !lines.data[n] && close(at(i), at(n))) {
                    areas.label[size_t(n)] = label;
                    queue.push_back(n);
                }
            }
        }
        areas.total.push_back(total);
        areas.points.push_back(int(queue.size()));
    }
    return areas;
}

// Counts each area's points that have the same area `kCore` points away
// every way, then unlabels the areas with too few.
void dropThin(Areas& areas, int width, int height)
{
    const auto& label = areas.label;
    for (int y = kCore; y < height - kCore; ++y) {
        for (int x = kCore; x < width - kCore; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            const int own = label[i];
            if (own && label[i - kCore] == own && label[i + kCore] == own &&
                label[i - size_t(kCore * width)] == own && label[i + size_t(kCore * width)] == own)
                ++areas.size[size_t(own)];
        }
    }
    for (int& l : areas.label) {
        if (areas.size[size_t(l)] < kMinCore)
            l = 0;
    }
}

// The areas left grow back over the points unlabelled, never over lines.
void growBack(std::vector<int>& label, const cv::Mat& lines, int width, int height)
{
    std::vector<int> queue;
    for (int i = 0; i < width * height; ++i) {
        if (label[size_t(i)])
            queue.push_back(i);
    }
    for (size_t next = 0; next < queue.size(); ++next) {
        const int i = queue[next], x = i % width;
        for (const int n : {x > 0 ? i - 1 : -1, x + 1 < width ? i + 1 : -1, i - width,
                            i + width < width * height ? i + width : -1}) {
            if (n >= 0 && !label[size_t(n)] && !lines.data[n]) {
                label[size_t(n)] = label[size_t(i)];
                queue.push_back(n);
            }
        }
    }
}

cv::Vec3d mean(const Areas& areas, int a)
{
    return areas.total[size_t(a)] / areas.points[size_t(a)];
}

// Two areas get a boundary where their colours differ clearly, or where what
// parts them is clearly darker than both: the rest of a broken faint line.
bool parted(const Areas& areas, int a, int b, const cv::Vec3b& here, const cv::Vec3b& there)
{
    const cv::Vec3d one = mean(areas, a), other = mean(areas, b);
    double difference = 0, darker = 255;
    for (int c = 0; c < 3; ++c) {
        difference = std::max(difference, std::abs(one[c] - other[c]));
        darker = std::min(darker, std::min(one[c], other[c]) - std::min(here[c], there[c]));
    }
    return difference >= kDistinct || darker >= kDarker;
}

} // namespace

void ColourOutlines::add(const cv::Mat& colour, cv::Mat& lines)
{
    const int width = colour.cols, height = colour.rows;
    Areas areas = grow(colour, lines);
    if (areas.size.size() <= 2)
        return; // one colour: nothing to outline
    dropThin(areas, width, height);
    growBack(areas.label, lines, width, height);
    const std::vector<int>& label = areas.label;
    for (int y = 0; y < height; ++y) {
        uchar* row = lines.ptr<uchar>(y);
        uchar* below = y + 1 < height ? lines.ptr<uchar>(y + 1) : nullptr;
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            const int own = label[i];
            if (!own)
                continue;
            const int right = x + 1 < width ? label[i + 1] : 0;
            const int down = below ? label[i + size_t(width)] : 0;
            const cv::Vec3b& here = colour.at<cv::Vec3b>(y, x);
            if (right && right != own &&
                parted(areas, own, right, here, colour.at<cv::Vec3b>(y, x + 1)))
                row[x] = row[x + 1] = 255;
            if (down && down != own &&
                parted(areas, own, down, here, colour.at<cv::Vec3b>(y + 1, x)))
                row[x] = below[x] = 255;
        }
    }
}
