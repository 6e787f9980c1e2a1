#pragma once

#include <opencv2/core.hpp>

// Closes breaks in the lines of a page (255 = line) so that colour cannot
// leak through them. Only a line that really ends is extended: from its end
// point, facing onwards, to another line or line end at most `gap` points
// away. Two lines that run side by side are never joined across, so a
// narrow strip the drawing closes stays one area.
class GapCloser {
public:
    // The other line must lie within this angle of straight on (cos 72°).
    static constexpr double kFacing = 0.3;
    // Only what lies nearly straight on (cos 25°): breaks along a line, not
    // the way to a stroke beside it.
    static constexpr double kStraightOn = 0.9;

    static void close(cv::Mat& lines, int gap, double facing = kFacing);
};
