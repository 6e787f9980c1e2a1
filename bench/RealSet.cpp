#include "RealSet.h"

#include "core/book/Failure.h"
#include "core/colour/FloodFill.h"
#include "import/DrawingFile.h"
#include "import/PageCleaner.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace RealSet {

namespace {

constexpr ColorRef kMark = rgbColour(255, 0, 0);
// Two of the original's areas are told apart when their colours differ by
// this much in a channel: steps of a shading are one area to a child.
constexpr int kDistinct = 60;

// The original's areas: parts of one colour (in steps of 40) apart from ink,
// that is dark neutral points, at least 0.1 % of the page.
struct Areas {
    cv::Mat labels;
    std::vector<cv::Point> seeds; // the point deepest inside, by label
    std::vector<int> size;
    std::vector<cv::Vec3d> colour;
    std::vector<bool> counted; // not the paper round the drawing, large enough
};

cv::Mat matOf(const QImage& rgb888)
{
    return cv::Mat(rgb888.height(), rgb888.width(), CV_8UC3, const_cast<uchar*>(rgb888.bits()),
                   size_t(rgb888.bytesPerLine()))
        .clone();
}

cv::Mat insides(const cv::Mat& rgb)
{
    cv::Mat smooth, key(rgb.size(), CV_16U), inside(rgb.size(), CV_8U);
    cv::medianBlur(rgb, smooth, 3);
    smooth.forEach<cv::Vec3b>([&](const cv::Vec3b& c, const int* at) {
        const int top = std::max({c[0], c[1], c[2]}), low = std::min({c[0], c[1], c[2]});
        key.at<ushort>(at[0], at[1]) = ushort((c[0] / 40) << 8 | (c[1] / 40) << 4 | c[2] / 40);
        inside.at<uchar>(at[0], at[1]) = top < 110 && top - low < 50 ? 0 : 255;
    });
    cv::Mat high, low;
    cv::dilate(key, high, cv::Mat());
    cv::erode(key, low, cv::Mat());
    inside.setTo(0, high != low);
    cv::erode(inside, inside, cv::Mat(), cv::Point(-1, -1), 2);
    return inside;
}

Areas originalAreas(const cv::Mat& rgb)
{
    const cv::Mat inside = insides(rgb);
    Areas a;
    cv::Mat stats, centroids, depth;
    const int n = cv::connectedComponentsWithStats(inside, a.labels, stats, centroids, 4);
    cv::distanceTransform(inside, depth, cv::DIST_L2, 3);
    a.seeds.assign(size_t(n), {});
    a.size.assign(size_t(n), 0);
    a.colour.assign(size_t(n), {});
    std::vector<float> deepest(size_t(n), -1);
    for (int y = 0; y < rgb.rows; ++y)
        for (int x = 0; x < rgb.cols; ++x) {
            const auto l = size_t(a.labels.at<int>(y, x));
            a.size[l] += 1;
            a.colour[l] += cv::Vec3d(rgb.at<cv::Vec3b>(y, x));
            if (depth.at<float>(y, x) > deepest[l])
                deepest[l] = depth.at<float>(y, x), a.seeds[l] = {x, y};
        }
    for (int l = 0; l < n; ++l) {
        a.colour[size_t(l)] /= std::max(1, a.size[size_t(l)]);
        const cv::Rect box(stats.at<int>(l, 0), stats.at<int>(l, 1), stats.at<int>(l, 2),
                           stats.at<int>(l, 3));
        const bool border =
            box.x == 0 || box.y == 0 || box.br().x == rgb.cols || box.br().y == rgb.rows;
        a.counted.push_back(l > 0 && !border && a.size[size_t(l)] >= int(rgb.total() / 1000));
    }
    return a;
}

struct DrawingFigures {
    int areas = 0, whole = 0, leaks = 0, lostToBlack = 0;
};

bool distinct(const cv::Vec3d& a, const cv::Vec3d& b)
{
    const cv::Vec3d d = a - b;
    return std::max({std::abs(d[0]), std::abs(d[1]), std::abs(d[2])}) >= kDistinct;
}

// Presses the deepest point of each of the original's areas on the page.
DrawingFigures pressAreas(const Areas& a, const QImage& page)
{
    DrawingFigures f;
    const QImage clean = page.convertToFormat(QImage::Format_RGB32);
    for (size_t l = 0; l < a.counted.size(); ++l) {
        if (!a.counted[l])
            continue;
        ++f.areas;
        const cv::Point s = a.seeds[l];
        if (qRed(clean.pixel(s.x, s.y)) < 128) {
            ++f.lostToBlack;
            continue;
        }
        QImage filled = clean;
        floodFill(filled, s.x, s.y, kMark);
        std::vector<int> reached(a.size.size(), 0);
        for (int y = 0; y < filled.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(filled.constScanLine(y));
            for (int x = 0; x < filled.width(); ++x)
                reached[size_t(a.labels.at<int>(y, x))] += fromQRgb(row[x]) == kMark;
        }
        bool leak = false;
        for (size_t o = 1; o < reached.size(); ++o)
            leak = leak || (o != l && reached[o] > a.size[o] / 100 &&
                            a.size[o] >= int(a.labels.total() / 1000) &&
                            distinct(a.colour[o], a.colour[l]));
        f.leaks += leak;
        f.whole += !leak && reached[l] >= a.size[l] * 99 / 100;
    }
    return f;
}

struct PhotoFigures {
    bool told = false;
    int areas = 0;
    double largest = 0, small = 0, black = 0;
    bool good() const
    {
        return told && areas >= 12 && areas <= 150 && largest <= 40 && small <= 3 && black <= 8;
    }
};

PhotoFigures photoFigures(const PageCleaner::Result& clean)
{
    PhotoFigures f;
    const double page = double(clean.page.width()) * clean.page.height();
    f.told = clean.photo;
    for (int points : clean.areaPoints) {
        if (points >= page / 1000)
            ++f.areas;
        else
            f.small += 100.0 * points / page;
    }
    f.largest = 100.0 * clean.areaPoints.value(0) / page;
    cv::Mat lines = matOf(clean.page.convertToFormat(QImage::Format_RGB888));
    cv::cvtColor(lines, lines, cv::COLOR_RGB2GRAY);
    f.black = 100.0 * double(lines.total() - size_t(cv::countNonZero(lines))) / page;
    return f;
}

} // namespace

bool print(const QString& list, QSize page)
{
    QFile file(list);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    DrawingFigures all;
    int drawings = 0, photos = 0, told = 0, good = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QString kind = line.section(QLatin1Char(' '), 0, 0);
        const QString path = line.section(QLatin1Char(' '), 1);
        // A wallpaper's pictures are named by their size, under the wallpaper's folder.
        const QStringList parts = path.split(QLatin1Char('/'));
        const qsizetype at = parts.indexOf(QStringLiteral("contents"));
        const QByteArray name = (at > 0 ? parts[at - 1] : QFileInfo(path).fileName()).toUtf8();
        try {
            DrawingFile drawing(path, page);
            const QImage original = drawing.page(0).convertToFormat(QImage::Format_RGB888);
            const PageCleaner::Result clean = PageCleaner::clean(original);
            if (kind == QLatin1String("photo")) {
                const PhotoFigures f = photoFigures(clean);
                ++photos, told += f.told, good += f.good();
                std::printf("import_real photo %s told=%d areas=%d largest=%.1f%% small=%.1f%% "
                            "black=%.1f%% good=%d\n",
                            name.constData(), f.told, f.areas, f.largest, f.small, f.black,
                            f.good());
                continue;
            }
            const DrawingFigures f = pressAreas(originalAreas(matOf(original)), clean.page);
            ++drawings, all.areas += f.areas, all.whole += f.whole, all.leaks += f.leaks,
                all.lostToBlack += f.lostToBlack;
            std::printf("import_real drawing %s areas_whole=%d/%d leaks=%d lost_to_black=%d\n",
                        name.constData(), f.whole, f.areas, f.leaks, f.lostToBlack);
        } catch (const Failure& failure) {
            (kind == QLatin1String("photo") ? photos : drawings) += 1;
            std::printf("import_real %s %s refused: %s\n", qPrintable(kind), name.constData(),
                        qPrintable(failure.reason()));
        }
    }
    std::printf("import_real drawings=%d whole=%.1f%% leaks=%d lost_to_black=%d\n", drawings,
                100.0 * all.whole / std::max(1, all.areas), all.leaks, all.lostToBlack);
    std::printf("import_real photos=%d told=%d good=%d\n", photos, told, good);
    return true;
}

} // namespace RealSet
