#include "import/PhotoPage.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {

// A drawing is mostly paper, near white and neutral, with strokes on it...
constexpr int kPaperLevel = 225;
constexpr int kPaperTint = 20;
constexpr double kPaperShare = 0.3;
// ...or flat areas of a few colours with sharp edges between them. Shading
// is where the level drifts gently (from 0.4 up to 4 levels a point, once
// grain is smoothed away); a drawing of flat colours has little of it.
constexpr double kGrainSmoothing = 2;
constexpr float kGentlest = 0.4f;
constexpr float kSteepest = 4;
constexpr double kShadedMost = 0.08;
constexpr int kFewColours = 16;
constexpr double kFewColoursMost = 0.75;
// Line art on grey or unevenly lit paper is a drawing too: most of it is
// near neutral and nearly as light as the lightest point within reach, and
// most of the rest is ink, much darker than that.
constexpr int kPaperReach = 15;
constexpr int kGreyPaperTint = 24;
constexpr int kPaperBelow = 24;
constexpr int kLightest = 150;
constexpr double kGreyPaperShare = 0.6;
constexpr int kInk = 60;
constexpr double kInkShare = 0.35;

// The colours a photograph is gathered into, and the part of the page below
// which a part is too small for a fingertip and joins a neighbour.
constexpr int kColours = 16;
constexpr double kFingertip = 0.004;
// The points gathered colours are learnt from: enough for a stable answer.
constexpr double kSamples = 20000;
// How far, in points, what is left of the grain is spread before gathering.
constexpr double kGrain = 2.5;
// How far inside a part a fingertip's middle must be able to go.
constexpr int kCore = 4;

// The least channel of each point, and how far its channels spread.
void channelRange(const cv::Mat& rgb, cv::Mat& least, cv::Mat& spread)
{
    std::vector<cv::Mat> channels;
    cv::split(rgb, channels);
    cv::Mat most;
    cv::max(channels[0], channels[1], most);
    cv::max(most, channels[2], most);
    cv::min(channels[0], channels[1], least);
    cv::min(least, channels[2], least);
    spread = most - least;
}

double paperShare(const cv::Mat& rgb)
{
    cv::Mat least, spread;
    channelRange(rgb, least, spread);
    return cv::countNonZero((least >= kPaperLevel) & (spread < kPaperTint)) / double(rgb.total());
}

bool lineArtOnGreyPaper(const cv::Mat& rgb)
{
    cv::Mat grey, lightest;
    cv::cvtColor(rgb, grey, cv::COLOR_RGB2GRAY);
    const int side = 2 * kPaperReach + 1;
    cv::dilate(grey, lightest, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(side, side)));
    cv::Mat least, spread;
    channelRange(rgb, least, spread);
    const cv::Mat below = lightest - grey;
    const cv::Mat paper =
        (spread < kGreyPaperTint) & (lightest >= kLightest) & (below <= kPaperBelow);
    const int paperPoints = cv::countNonZero(paper);
    const int ink = cv::countNonZero(below >= kInk);
    const double rest = std::max(1.0, double(rgb.total()) - paperPoints);
    return paperPoints >= kGreyPaperShare * double(rgb.total()) && ink >= kInkShare * rest;
}

double shadedShare(const cv::Mat& rgb)
{
    cv::Mat grey, dx, dy, steep;
    cv::cvtColor(rgb, grey, cv::COLOR_RGB2GRAY);
    grey.convertTo(grey, CV_32F);
    cv::GaussianBlur(grey, grey, cv::Size(), kGrainSmoothing);
    // A 3 × 3 Sobel gives eight times the step a point.
    cv::Sobel(grey, dx, CV_32F, 1, 0, 3, 1.0 / 8);
    cv::Sobel(grey, dy, CV_32F, 0, 1, 3, 1.0 / 8);
    cv::magnitude(dx, dy, steep);
    const cv::Mat shaded = (steep >= kGentlest) & (steep < kSteepest);
    return cv::countNonZero(shaded) / double(rgb.total());
}

// The share of the points in the few commonest colours (16 steps a channel).
double fewColoursShare(const cv::Mat& rgb)
{
    std::vector<int> bins(4096, 0);
    for (int y = 0; y < rgb.rows; ++y) {
        const cv::Vec3b* row = rgb.ptr<cv::Vec3b>(y);
        for (int x = 0; x < rgb.cols; ++x)
            ++bins[size_t((row[x][0] >> 4) << 8 | (row[x][1] >> 4) << 4 | row[x][2] >> 4)];
    }
    std::partial_sort(bins.begin(), bins.begin() + kFewColours, bins.end(), std::greater<>());
    return std::accumulate(bins.begin(), bins.begin() + kFewColours, 0.0) / double(rgb.total());
}

// Each point's index among a few colours learnt from the smoothed picture,
// in Lab so that the colours are as far apart as they look.
cv::Mat gathered(const cv::Mat& rgb)
{
    cv::Mat smooth, lab;
    cv::bilateralFilter(rgb, smooth, 9, 40, 7);
    // Grain left over would fray the boundaries where colour drifts slowly.
    cv::GaussianBlur(smooth, smooth, cv::Size(), kGrain);
    cv::cvtColor(smooth, lab, cv::COLOR_RGB2Lab);
    const int step = std::max(1, int(std::sqrt(double(lab.total()) / kSamples)));
    cv::Mat samples;
    for (int y = 0; y < lab.rows; y += step) {
        for (int x = 0; x < lab.cols; x += step)
            samples.push_back(cv::Mat(cv::Vec3f(lab.at<cv::Vec3b>(y, x))).reshape(1, 1));
    }
    cv::Mat labels, centres;
    cv::setRNGSeed(27); // the same page from the same photograph
    cv::kmeans(samples, std::min(kColours, samples.rows), labels,
               cv::TermCriteria(cv::TermCriteria::EPS | cv::TermCriteria::COUNT, 10, 1.0), 1,
               cv::KMEANS_PP_CENTERS, centres);
    cv::Mat index(lab.size(), CV_8U);
    lab.forEach<cv::Vec3b>([&](const cv::Vec3b& c, const int* at) {
        int best = 0;
        float nearest = 1e30f;
        for (int k = 0; k < centres.rows; ++k) {
            const float* centre = centres.ptr<float>(k);
            const float d0 = float(c[0]) - centre[0], d1 = float(c[1]) - centre[1],
                        d2 = float(c[2]) - centre[2];
            const float distance = d0 * d0 + d1 * d1 + d2 * d2;
            if (distance < nearest) {
                nearest = distance;
                best = k;
            }
        }
        index.at<uchar>(at[0], at[1]) = uchar(best);
    });
    // A median keeps the boundaries between the colours smooth.
    cv::medianBlur(index, index, 9);
    return index;
}

// The connected parts of equal value in `ids` (CV_32S), numbered from 0.
cv::Mat parts(const cv::Mat& ids, std::vector<int>& size)
{
    cv::Mat label(ids.size(), CV_32S, cv::Scalar(-1));
    size.clear();
    std::vector<cv::Point> queue;
    for (int y = 0; y < ids.rows; ++y) {
        for (int x = 0; x < ids.cols; ++x) {
            if (label.at<int>(y, x) >= 0)
                continue;
            const int own = int(size.size()), value = ids.at<int>(y, x);
            label.at<int>(y, x) = own;
            queue.assign(1, cv::Point(x, y));
            for (size_t next = 0; next < queue.size(); ++next) {
                const cv::Point p = queue[next];
                for (const cv::Point n : {p + cv::Point(1, 0), p - cv::Point(1, 0),
                                          p + cv::Point(0, 1), p - cv::Point(0, 1)}) {
                    if (n.x >= 0 && n.y >= 0 && n.x < ids.cols && n.y < ids.rows &&
                        label.at<int>(n) < 0 && ids.at<int>(n) == value) {
                        label.at<int>(n) = own;
                        queue.push_back(n);
                    }
                }
            }
            size.push_back(int(queue.size()));
        }
    }
    return label;
}

// The points of each part at least `kCore` points inside it every way: a
// strip along a soft edge has none, however long it is.
std::vector<int> cores(const cv::Mat& label, size_t count)
{
    std::vector<int> core(count, 0);
    for (int y = kCore; y + kCore < label.rows; ++y) {
        for (int x = kCore; x + kCore < label.cols; ++x) {
            const int own = label.at<int>(y, x);
            if (label.at<int>(y - kCore, x) == own && label.at<int>(y + kCore, x) == own &&
                label.at<int>(y, x - kCore) == own && label.at<int>(y, x + kCore) == own)
                ++core[size_t(own)];
        }
    }
    return core;
}

// Gives each point of a part's thin arms (farther than `kCore` from a point
// of its core) to the nearest part that is wide there: an opening of every
// part at once, so no strip too thin to colour is left along an edge.
void trimArms(cv::Mat& label)
{
    cv::Mat arm(label.size(), CV_8U, cv::Scalar(0));
    arm.forEach<uchar>([&](uchar& a, const int* at) {
        const int y = at[0], x = at[1], own = label.at<int>(y, x);
        const auto core = [&](int cy, int cx) {
            return cy >= kCore && cx >= kCore && cy + kCore < label.rows &&
                   cx + kCore < label.cols && label.at<int>(cy, cx) == own &&
                   label.at<int>(cy - kCore, cx) == own && label.at<int>(cy + kCore, cx) == own &&
                   label.at<int>(cy, cx - kCore) == own && label.at<int>(cy, cx + kCore) == own;
        };
        for (int dy = -kCore; dy <= kCore; ++dy) {
            for (int dx = -kCore; dx <= kCore; ++dx) {
                if (core(y + dy, x + dx))
                    return;
            }
        }
        a = 255;
    });
    cv::Mat distance, nearest;
    cv::distanceTransform(arm, distance, nearest, cv::DIST_L2, cv::DIST_MASK_5,
                          cv::DIST_LABEL_PIXEL);
    std::vector<int> wide{0}; // the points off the arms, numbered from 1 by rows
    for (int y = 0; y < label.rows; ++y) {
        for (int x = 0; x < label.cols; ++x) {
            if (!arm.at<uchar>(y, x))
                wide.push_back(label.at<int>(y, x));
        }
    }
    if (wide.size() == 1)
        return; // nothing wide anywhere
    label.forEach<int>([&](int& l, const int* at) {
        if (arm.at<uchar>(at[0], at[1]))
            l = wide[std::min(wide.size() - 1, size_t(nearest.at<int>(at[0], at[1])))];
    });
}

// How long a boundary each part shares with each other part.
std::vector<std::map<int, int>> borders(const cv::Mat& label, int count)
{
    std::vector<std::map<int, int>> shared(static_cast<size_t>(count));
    for (int y = 0; y < label.rows; ++y) {
        for (int x = 0; x < label.cols; ++x) {
            const int own = label.at<int>(y, x);
            for (const cv::Point n : {cv::Point(x + 1, y), cv::Point(x, y + 1)}) {
                if (n.x >= label.cols || n.y >= label.rows || label.at<int>(n) == own)
                    continue;
                ++shared[size_t(own)][label.at<int>(n)];
                ++shared[size_t(label.at<int>(n))][own];
            }
        }
    }
    return shared;
}

// Merges each part whose `size` is under `least` into the neighbour it
// shares the longest boundary with, smallest first; returns the parts left.
int mergeSmall(cv::Mat& label, std::vector<int> size, int least)
{
    std::vector<std::map<int, int>> shared = borders(label, int(size.size()));
    std::vector<int> root(size.size());
    for (size_t i = 0; i < root.size(); ++i)
        root[i] = int(i);
    const auto find = [&](int i) {
        while (root[size_t(i)] != i)
            i = root[size_t(i)] = root[size_t(root[size_t(i)])];
        return i;
    };
    std::vector<int> order(root);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return size[size_t(a)] < size[size_t(b)]; });
    int left = int(size.size());
    for (const int part : order) {
        if (size[size_t(part)] >= least || shared[size_t(part)].empty())
            continue;
        std::map<int, int> around;
        for (const auto& [other, length] : shared[size_t(part)]) {
            if (find(other) != part)
                around[find(other)] += length;
        }
        if (around.empty())
            continue;
        const int into = std::max_element(around.begin(), around.end(), [](auto a, auto b) {
                             return a.second < b.second;
                         })->first;
        root[size_t(part)] = into;
        size[size_t(into)] += size[size_t(part)];
        for (const auto& [other, length] : around)
            shared[size_t(into)][other] += length;
        --left;
    }
    label.forEach<int>([&](int& l, const int*) { l = find(l); });
    return left;
}

// Cuts the largest part in pieces by colour and place, so that no one area
// takes most of the page or there are enough areas to colour.
void splitLargest(cv::Mat& label, const std::vector<int>& size, const cv::Mat& lab)
{
    const int largest = int(std::max_element(size.begin(), size.end()) - size.begin());
    const double share = size[size_t(largest)] / double(label.total());
    const int pieces = std::max(2, int(std::ceil(share / (PhotoPage::kLargestShare * 0.75))));
    // Place counts as much as a clear change of colour: the pieces are compact.
    const double place = 100.0 / std::max(label.rows, label.cols);
    cv::Mat features;
    std::vector<cv::Point> where;
    for (int y = 0; y < label.rows; ++y) {
        for (int x = 0; x < label.cols; ++x) {
            if (label.at<int>(y, x) != largest)
                continue;
            const cv::Vec3b& c = lab.at<cv::Vec3b>(y, x);
            const float row[5] = {float(c[0]), float(c[1]), float(c[2]), float(x * place),
                                  float(y * place)};
            features.push_back(cv::Mat(1, 5, CV_32F, const_cast<float*>(row)).clone());
            where.emplace_back(x, y);
        }
    }
    cv::Mat pieceOf, centres;
    cv::kmeans(features, std::min(pieces, features.rows), pieceOf,
               cv::TermCriteria(cv::TermCriteria::EPS | cv::TermCriteria::COUNT, 10, 1.0), 1,
               cv::KMEANS_PP_CENTERS, centres);
    const int first = int(size.size());
    for (size_t i = 0; i < where.size(); ++i) {
        const int piece = pieceOf.at<int>(int(i));
        if (piece > 0)
            label.at<int>(where[i]) = first + piece - 1;
    }
}

} // namespace

bool PhotoPage::looksLikePhoto(const cv::Mat& rgb)
{
    if (paperShare(rgb) >= kPaperShare || lineArtOnGreyPaper(rgb))
        return false;
    return shadedShare(rgb) > kShadedMost || fewColoursShare(rgb) < kFewColoursMost;
}

cv::Mat PhotoPage::lines(const cv::Mat& rgb)
{
    if (rgb.total() < size_t(kMinAreas) * kMinAreas)
        return cv::Mat(rgb.size(), CV_8U, cv::Scalar(0)); // too small to divide

    cv::Mat ids;
    gathered(rgb).convertTo(ids, CV_32S);
    cv::Mat lab;
    cv::cvtColor(rgb, lab, cv::COLOR_RGB2Lab);
    const int page = int(rgb.total());
    std::vector<int> size;
    cv::Mat label;
    double least = kFingertip * page;
    for (int round = 0; round < 8; ++round) {
        label = parts(ids, size);
        // Too small for a fingertip, or too thin: the core is measured.
        while (mergeSmall(label, cores(label, size.size()), int(least / 2)) > kMaxAreas) {
            least *= 1.5;
            label = parts(label, size);
        }
        trimArms(label);
        label = parts(label, size);
        mergeSmall(label, size, int(least));
        label = parts(label, size);
        const int biggest = *std::max_element(size.begin(), size.end());
        if (int(size.size()) >= kMinAreas && biggest <= kLargestShare * page)
            break;
        splitLargest(label, size, lab);
        ids = label;
    }
    return boundaries(label);
}

cv::Mat PhotoPage::boundaries(const cv::Mat& label)
{
    cv::Mat lines(label.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < label.rows; ++y) {
        for (int x = 0; x < label.cols; ++x) {
            const int own = label.at<int>(y, x);
            if (x + 1 < label.cols && label.at<int>(y, x + 1) != own)
                lines.at<uchar>(y, x) = lines.at<uchar>(y, x + 1) = 255;
            if (y + 1 < label.rows && label.at<int>(y + 1, x) != own)
                lines.at<uchar>(y, x) = lines.at<uchar>(y + 1, x) = 255;
        }
    }
    return lines;
}
