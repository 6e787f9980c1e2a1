#include "import/PageCleaner.h"

#include "core/book/PictureLoader.h"
#include "import/ColourOutlines.h"
#include "import/GapCloser.h"
#include "import/InkFinder.h"
#include "import/PhotoPage.h"

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

// Marks reaching less than this share of the page's shorter side any way,
// alone and enclosing no paper, are the dots of stippling and dust; those
// reaching less than the second share are the strokes of hatching.
constexpr double kDotShare = 0.03;
constexpr double kStrokeShare = 0.08;

// The paper a fingertip can press inside, on a page whose shorter side is
// `shorter` points: anything less is a pinhole or a chink between marks.
int fingertip(int shorter)
{
    const int dot = int(shorter * kDotShare);
    return dot * dot / 2;
}

// The marks of `lines` (filled) that stand alone and reach less than
// `longest` points any way. Marks that enclose paper larger than `pinhole`
// points are small outlined areas, not marks.
cv::Mat loneMarks(const cv::Mat& lines, int longest, int pinhole)
{
    cv::Mat marks(lines.size(), CV_8U, cv::Scalar(0));
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> tree; // next, previous, first hole, outer
    cv::findContours(lines, contours, tree, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);
    for (size_t i = 0; i < contours.size(); ++i) {
        const cv::Rect box = cv::boundingRect(contours[i]);
        if (tree[i][3] >= 0 || std::max(box.width, box.height) >= longest)
            continue;
        bool encloses = false;
        for (int hole = tree[i][2]; hole >= 0 && !encloses; hole = tree[size_t(hole)][0])
            encloses = cv::contourArea(contours[size_t(hole)]) > pinhole;
        if (!encloses)
            cv::drawContours(marks, contours, int(i), cv::Scalar(255), cv::FILLED);
    }
    return marks;
}

// Clears from `marks` those within `reach` of `lines`: bits of a line, or
// marks touching it, that the line's breaks are closed with.
void dropNear(cv::Mat& marks, const cv::Mat& lines, int reach)
{
    cv::Mat near, labels;
    cv::dilate(lines, near,
               cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * reach + 1, 2 * reach + 1)));
    const int count = cv::connectedComponents(marks, labels, 8, CV_32S);
    std::vector<uchar> touching(size_t(count), 0);
    for (int y = 0; y < marks.rows; ++y) {
        for (int x = 0; x < marks.cols; ++x)
            touching[size_t(labels.at<int>(y, x))] |= near.at<uchar>(y, x) && marks.at<uchar>(y, x);
    }
    marks.forEach<uchar>([&](uchar& m, const int* at) {
        if (touching[size_t(labels.at<int>(at[0], at[1]))])
            m = 0;
    });
}

// White areas the fill can reach (4-connected, as it spreads). Areas the
// lines close against the page's edge count, like the pieces of a jigsaw;
// only paper that reaches all four edges is the page round the drawing.
int countClosedAreas(const cv::Mat& paper, QList<int>& points)
{
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(paper, labels, stats, centroids, 4, CV_32S);
    for (int i = 1; i < count; ++i)
        points << stats.at<int>(i, cv::CC_STAT_AREA);
    std::sort(points.begin(), points.end(), std::greater<>());
    std::vector<int> edges(size_t(count), 0); // one bit per edge touched
    const int last = paper.rows - 1;
    for (int x = 0; x < paper.cols; ++x) {
        edges[size_t(labels.at<int>(0, x))] |= 1;
        edges[size_t(labels.at<int>(last, x))] |= 2;
    }
    for (int y = 0; y < paper.rows; ++y) {
        edges[size_t(labels.at<int>(y, 0))] |= 4;
        edges[size_t(labels.at<int>(y, paper.cols - 1))] |= 8;
    }
    return int(std::count_if(edges.begin() + 1, edges.end(), [](int e) { return e != 15; }));
}

// Bits of colour boundary reaching less than this many dust widths are dropped.
constexpr int kShortestEdge = 4;

// Clears the bits of `edges` that touch no line and reach less than `least`
// points any way: the rings round dust and grain. Short bits joining a line
// close it.
void dropLoneEdges(cv::Mat& edges, const cv::Mat& lines, int least)
{
    cv::Mat labels, stats, centroids, touching;
    const int count = cv::connectedComponentsWithStats(edges, labels, stats, centroids, 8, CV_32S);
    std::vector<uchar> keep(size_t(count), 0);
    for (int i = 1; i < count; ++i)
        keep[size_t(i)] = std::max(stats.at<int>(i, cv::CC_STAT_WIDTH),
                                   stats.at<int>(i, cv::CC_STAT_HEIGHT)) >= least;
    cv::dilate(lines, touching, cv::Mat());
    touching &= edges;
    touching.forEach<uchar>([&](uchar t, const int* at) {
        if (t)
            keep[size_t(labels.at<int>(at[0], at[1]))] = 1; // the same value from any thread
    });
    edges.forEach<uchar>([&](uchar& e, const int* at) {
        if (e && !keep[size_t(labels.at<int>(at[0], at[1]))])
            e = 0;
    });
}

// Points whose channels differ this much are a colour, not grey ink; so are
// dark points whose channels differ by this share of the brightest one and
// by more than grain tints black, where they alone make an area wider than
// the tint compression leaves along a black line.
constexpr int kColourful = 64;
constexpr double kDarkTint = 0.3;
constexpr int kLeastTint = 16;
constexpr int kTintedRim = 7;

cv::Mat colourful(const cv::Mat& rgb)
{
    cv::Mat most, least;
    std::vector<cv::Mat> channels;
    cv::split(rgb, channels);
    cv::max(channels[0], channels[1], most);
    cv::max(most, channels[2], most);
    cv::min(channels[0], channels[1], least);
    cv::min(least, channels[2], least);
    const cv::Mat spread = most - least;
    cv::Mat tint, brightest, tinted;
    spread.convertTo(tint, CV_32F);
    most.convertTo(brightest, CV_32F);
    const cv::Mat strong = spread >= kColourful;
    const cv::Mat dark = (spread >= kLeastTint) & (tint >= brightest * kDarkTint) & ~strong;
    cv::morphologyEx(
        dark, tinted, cv::MORPH_OPEN,
        cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(kTintedRim, kTintedRim)));
    return strong | tinted;
}

// The lines of a drawing: its own, freed of dust and shading, with
// boundaries of colour added and small breaks closed.
cv::Mat drawingLines(const cv::Mat& colour, int gap)
{
    cv::Mat grey;
    cv::cvtColor(colour, grey, cv::COLOR_RGB2GRAY);
    const cv::Mat marked = InkFinder::lines(grey, colourful(colour));
    // The pieces of a broken line are joined before lone marks are told;
    // strokes side by side are not.
    cv::Mat ink = marked.clone();
    if (gap > 0)
        GapCloser::close(ink, gap, GapCloser::kStraightOn);
    const int shorter = std::min(colour.cols, colour.rows);
    cv::Mat dots = loneMarks(ink, int(shorter * kDotShare), fingertip(shorter));
    cv::Mat strokes = loneMarks(ink, int(shorter * kStrokeShare), fingertip(shorter));
    // Bits of a line, or marks touching it, are what its breaks are closed with.
    dropNear(strokes, ink & ~strokes, gap + 2);
    dots &= strokes;
    // Hatching stays, but is neither joined nor joined to: closing breaks
    // between its strokes would wall off bits of the area.
    ink &= ~strokes;
    // The marks are covered like lines, so that they make no edges of colour;
    // dust and grain make bits of edge too small to part anything.
    cv::Mat edges = ColourOutlines::edges(colour, marked);
    const int side = std::max(2, shorter / 150);
    dropLoneEdges(edges, ink, kShortestEdge * side);
    ink |= edges;
    if (gap > 0)
        GapCloser::close(ink, gap);
    return ink | (marked & strokes & ~dots);
}

} // namespace

QImage PageCleaner::pictureAtSize(const QImage& picture, QSize size)
{
    QImage flat = PictureLoader::overWhite(picture).convertToFormat(QImage::Format_RGB888);
    if (flat.size() == size)
        return flat;
    QImage scaled(size, QImage::Format_RGB888);
    const cv::Mat from(flat.height(), flat.width(), CV_8UC3, flat.bits(),
                       size_t(flat.bytesPerLine()));
    cv::Mat to(scaled.height(), scaled.width(), CV_8UC3, scaled.bits(),
               size_t(scaled.bytesPerLine()));
    // Averaging areas when shrinking keeps thin lines as grey rather than
    // dropping them; a smooth curve when enlarging keeps edges straight.
    const bool shrinking = size.width() < flat.width();
    cv::resize(from, to, to.size(), 0, 0, shrinking ? cv::INTER_AREA : cv::INTER_CUBIC);
    return scaled;
}

PageCleaner::Result PageCleaner::clean(const QImage& picture, Treatment treatment, int gap)
{
    QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    // Continuous copies: the steps below walk them as flat arrays.
    const cv::Mat colour =
        cv::Mat(rgb.height(), rgb.width(), CV_8UC3, rgb.bits(), size_t(rgb.bytesPerLine())).clone();
    const bool photo = treatment == Treatment::Photo ||
                       (treatment == Treatment::ByLook && PhotoPage::looksLikePhoto(colour));
    cv::Mat paper = ~(photo ? PhotoPage::lines(colour) : drawingLines(colour, gap));
    // Paper too small to press becomes line: pinholes, chinks between marks
    // and, of a photograph, any piece of a part too small to colour.
    const int shorter = std::min(rgb.width(), rgb.height());
    dropSmallComponents(paper, 4, photo ? int(colour.total() / 1000) : fingertip(shorter));

    Result result;
    result.photo = photo;
    result.closedAreas = countClosedAreas(paper, result.areaPoints);
    QImage page(rgb.size(), QImage::Format_Grayscale8);
    cv::Mat out = wrap(page);
    paper.copyTo(out);
    result.page = page;
    return result;
}
