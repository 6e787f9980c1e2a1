#pragma once

#include <opencv2/core.hpp>

// Closes breaks in the lines of a page (255 = line) so that colour cannot
// leak through them. Only a line that really ends is extended: from its end
// point, facing onwards, to another line or line end at most `gap` points
// away. Two lines that run side by side are never joined across, so a
// narrow strip the drawing closes stays one area.
class GapCloser {
public:
    static void close(cv::Mat& lines, int gap);
};
