#include "import/GapCloser.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {

// A branch of the line's middle shorter than this, in points, is a spur of a
// corner or of a ragged edge, not a line that ends.
constexpr int kMinBranch = 6;
// How far back along the line its direction at the end is taken.
constexpr int kDirectionSteps = 5;

const int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// One pass of Zhang and Suen's thinning; returns whether anything changed.
bool thinPass(cv::Mat& skeleton, int step)
{
    std::vector<cv::Point> clear;
    for (int y = 1; y + 1 < skeleton.rows; ++y) {
        for (int x = 1; x + 1 < skeleton.cols; ++x) {
            if (!skeleton.at<uchar>(y, x))
                continue;
            int p[8], count = 0, turns = 0;
            for (int k = 0; k < 8; ++k) {
                p[k] = skeleton.at<uchar>(y + kDy[k], x + kDx[k]) ? 1 : 0;
                count += p[k];
            }
            for (int k = 0; k < 8; ++k)
                turns += !p[k] && p[(k + 1) % 8];
            const bool side = step == 0 ? !(p[0] && p[2] && p[4]) && !(p[2] && p[4] && p[6])
                                        : !(p[0] && p[2] && p[6]) && !(p[0] && p[4] && p[6]);
            if (count >= 2 && count <= 6 && turns == 1 && side)
                clear.emplace_back(x, y);
        }
    }
    for (const cv::Point& at : clear)
        skeleton.at<uchar>(at) = 0;
    return !clear.empty();
}

bool set(const cv::Mat& skeleton, cv::Point at)
{
    return at.x >= 0 && at.y >= 0 && at.x < skeleton.cols && at.y < skeleton.rows &&
           skeleton.at<uchar>(at);
}

// An end point has its neighbours in one run round it, at most two of them.
bool isEnd(const cv::Mat& skeleton, cv::Point at)
{
    int count = 0, runs = 0;
    for (int k = 0; k < 8; ++k) {
        const bool here = set(skeleton, at + cv::Point(kDx[k], kDy[k]));
        count += here;
        runs += here && !set(skeleton, at + cv::Point(kDx[(k + 7) % 8], kDy[(k + 7) % 8]));
    }
    return count >= 1 && count <= 2 && runs == 1;
}

// Walks the middle of the line back from an end point, a step at a time;
// returns the way the line points at its end, or (0, 0) when the branch
// forks or stops within a few points: a spur of a corner, or a dot.
cv::Point2d direction(const cv::Mat& skeleton, cv::Point end)
{
    std::vector<cv::Point> seen{end}, front{end};
    cv::Point2d back(end);
    for (int steps = 1; steps <= kMinBranch; ++steps) {
        std::vector<cv::Point> next;
        for (const cv::Point& at : front) {
            for (int k = 0; k < 8; ++k) {
                const cv::Point n = at + cv::Point(kDx[k], kDy[k]);
                if (set(skeleton, n) && std::find(seen.begin(), seen.end(), n) == seen.end()) {
                    seen.push_back(n);
                    next.push_back(n);
                }
            }
        }
        if (next.empty())
            return {};
        for (const cv::Point& a : next) {
            for (const cv::Point& b : next) {
                if (std::abs(a.x - b.x) > 1 || std::abs(a.y - b.y) > 1)
                    return {}; // two ways apart: a fork
            }
        }
        front = next;
        if (steps == kDirectionSteps)
            back = cv::Point2d(front.front());
    }
    const cv::Point2d way = cv::Point2d(end) - back;
    const double length = std::hypot(way.x, way.y);
    return length > 0 ? way / length : cv::Point2d();
}

// The nearest line point ahead of `end`, within `reach`, that the end's own
// line does not lead to without leaving the search window.
bool target(const cv::Mat& lines, cv::Point end, cv::Point2d way, int reach, double facing,
            cv::Point* found)
{
    const cv::Rect window =
        cv::Rect(end.x - reach - 2, end.y - reach - 2, 2 * reach + 5, 2 * reach + 5) &
        cv::Rect(0, 0, lines.cols, lines.rows);
    cv::Mat part = lines(window).clone();
    cv::floodFill(part, end - window.tl(), cv::Scalar(128), nullptr, 0, 0, 8);
    double best = reach + 0.5;
    bool any = false;
    for (int y = 0; y < part.rows; ++y) {
        for (int x = 0; x < part.cols; ++x) {
            if (part.at<uchar>(y, x) != 255)
                continue;
            const cv::Point2d to(x + window.x - end.x, y + window.y - end.y);
            const double distance = std::hypot(to.x, to.y);
            if (distance < best && to.dot(way) >= facing * distance) {
                best = distance;
                *found = cv::Point(x, y) + window.tl();
                any = true;
            }
        }
    }
    return any;
}

} // namespace

void GapCloser::close(cv::Mat& lines, int gap, double facing)
{
    cv::Mat skeleton = lines.clone();
    // Both passes of each round run, until a round changes nothing.
    for (bool changed = true; changed;) {
        const bool first = thinPass(skeleton, 0);
        const bool second = thinPass(skeleton, 1);
        changed = first || second;
    }
    // The end point sits about half a line in from the line's end.
    const int reach = gap + 2;
    std::vector<std::pair<cv::Point, cv::Point>> bridges;
    for (int y = 0; y < skeleton.rows; ++y) {
        for (int x = 0; x < skeleton.cols; ++x) {
            const cv::Point end(x, y);
            if (!skeleton.at<uchar>(end) || !isEnd(skeleton, end))
                continue;
            const cv::Point2d way = direction(skeleton, end);
            cv::Point to;
            if (way != cv::Point2d() && target(lines, end, way, reach, facing, &to))
                bridges.emplace_back(end, to);
        }
    }
    for (const auto& [from, to] : bridges)
        cv::line(lines, from, to, cv::Scalar(255), 2, cv::LINE_8);
}
