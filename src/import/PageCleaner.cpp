#include "import/PageCleaner.h"

#include <QPainter>
#include <algorithm>
#include <opencv2/imgproc.hpp>

namespace {

cv::Mat wrap(QImage& image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC1, image.bits(),
                   size_t(image.bytesPerLine()));
}

// Clears the parts of `mask` (255 where set) that form components smaller than
// `minArea` points.
void dropSmallComponents(cv::Mat& mask, int connectivity, int minArea)
{
    cv::Mat labels, stats, centroids;
    const int count =
        cv::connectedComponentsWithStats(mask, labels, stats, centroids, connectivity, CV_32S);
    std::vector<uchar> keep(size_t(count), 1);
    bool any = false;
    for (int i = 1; i < count; ++i) {
        if (stats.at<int>(i, cv::CC_STAT_AREA) < minArea) {
            keep[size_t(i)] = 0;
            any = true;
        }
    }
    if (!any)
        return;
    for (int y = 0; y < mask.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        uchar* row = mask.ptr<uchar>(y);
        for (int x = 0; x < mask.cols; ++x) {
            if (row[x] && !keep[size_t(label[x])])
                row[x] = 0;
        }
    }
}

// Seals breaks in the lines without filling in anything. With the lines
// thickened by half the gap, every break up to the gap is shut and the areas
// separate; each area then grows back through the paper as far as it can
// reach, and where two different areas meet (only ever inside a break) a
// line one point wide is drawn between them. Paper the thickened lines
// cover wholly, such as a narrow strip or a small closed area, stays as it
// is, and a strip open at both ends to the same area is never cut.
void closeGaps(cv::Mat& ink, int gap)
{
    const int radius = (gap + 1) / 2;
    const cv::Mat disc =
        cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * radius + 1, 2 * radius + 1));
    cv::Mat thick;
    cv::dilate(ink, thick, disc);
    cv::Mat labels;
    cv::connectedComponents(~thick, labels, 4, CV_32S);

    const int width = ink.cols, height = ink.rows;
    int* label = labels.ptr<int>(0); // continuous: made by OpenCV
    std::vector<int> queue;
    queue.reserve(size_t(width) * size_t(height));
    for (int i = 0; i < width * height; ++i) {
        if (label[i])
            queue.push_back(i);
    }
    const auto paper = [&](int i) {
        return ink.data[size_t(i / width) * ink.step + size_t(i % width)] == 0;
    };
    for (size_t next = 0; next < queue.size(); ++next) {
        const int i = queue[next];
        const int x = i % width;
        for (const int n : {x > 0 ? i - 1 : -1, x + 1 < width ? i + 1 : -1, i - width,
                            i + width < width * height ? i + width : -1}) {
            if (n >= 0 && !label[n] && paper(n)) {
                label[n] = label[i];
                queue.push_back(n);
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        uchar* row = ink.ptr<uchar>(y);
        const int* here = label + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            if (!here[x])
                continue;
            const bool meetsRight = x + 1 < width && here[x + 1] && here[x + 1] != here[x];
            const bool meetsBelow = y + 1 < height && here[x + width] && here[x + width] != here[x];
            if (meetsRight || meetsBelow)
                row[x] = 255;
        }
    }
}

// White areas the fill can reach (4-connected, as it spreads) that touch no
// edge of the page.
int countClosedAreas(const cv::Mat& paper)
{
    cv::Mat labels;
    const int count = cv::connectedComponents(paper, labels, 4, CV_32S);
    std::vector<uchar> open(size_t(count), 0);
    const int last = paper.rows - 1;
    for (int x = 0; x < paper.cols; ++x)
        open[size_t(labels.at<int>(0, x))] = open[size_t(labels.at<int>(last, x))] = 1;
    for (int y = 0; y < paper.rows; ++y)
        open[size_t(labels.at<int>(y, 0))] = open[size_t(labels.at<int>(y, paper.cols - 1))] = 1;
    return int(std::count(open.begin() + 1, open.end(), 0));
}

} // namespace

QImage PageCleaner::greyAtSize(const QImage& picture, QSize size)
{
    QImage grey;
    if (picture.hasAlphaChannel()) {
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, picture);
        painter.end();
        grey = flat.convertToFormat(QImage::Format_Grayscale8);
    } else {
        grey = picture.convertToFormat(QImage::Format_Grayscale8);
    }
    if (grey.size() == size)
        return grey;
    QImage scaled(size, QImage::Format_Grayscale8);
    const cv::Mat from = wrap(grey);
    cv::Mat to = wrap(scaled);
    // Averaging areas when shrinking keeps thin lines as grey rather than
    // dropping them; a smooth curve when enlarging keeps edges straight.
    const bool shrinking = size.width() < grey.width();
    cv::resize(from, to, to.size(), 0, 0, shrinking ? cv::INTER_AREA : cv::INTER_CUBIC);
    return scaled;
}

PageCleaner::Result PageCleaner::clean(const QImage& grey, int gap)
{
    QImage page = grey.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat ink = wrap(page);
    // The threshold comes from the picture itself, so antialiasing, JPEG
    // noise and tinted paper each fall on the side they are closest to.
    cv::threshold(ink, ink, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);

    // Specks scale with the page: dust on a scan, stray JPEG blocks.
    const int side = std::max(2, std::min(page.width(), page.height()) / 150);
    const int speck = side * side;
    dropSmallComponents(ink, 8, speck);
    if (gap > 0)
        closeGaps(ink, gap);
    cv::Mat paper = ~ink;
    dropSmallComponents(paper, 4, speck); // pinholes in the lines become line

    Result result;
    result.closedAreas = countClosedAreas(paper);
    cv::Mat out = wrap(page);
    paper.copyTo(out);
    result.page = page;
    return result;
}
