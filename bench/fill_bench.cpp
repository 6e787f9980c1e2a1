// Times our span fill against OpenCV's flood fill and against memcpy, which is the
// floor: a fill must at least read and write the bytes it paints.
//
// OpenCV runs twice: with a mask allocated once outside the timing, which spares it
// the image-sized mask it otherwise allocates and zeroes on every call, and without;
// the faster of the two is the one compared with.
// Each benchmark iteration is one press. When a case runs out of presses, the
// picture (and OpenCV's mask) are reset with the timer paused, so resets are left
// out for every contender alike. The memcpy contender copies, for each press, as
// many bytes as our fill paints on it.
//
// Also times the same fills kept in an undo history, and undo and redo of a whole
// page against the fill that painted it.

#include "MedianReporter.h"
#include "core/colour/FloodFill.h"
#include "core/colour/UndoHistory.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr ColorRef kFill = rgbColour(30, 144, 255);

struct FillCase {
    std::string name;
    QImage pristine;
    std::vector<QPoint> presses;
    // How many bytes our fill paints on each press, found by checkSameResult.
    std::vector<std::size_t> paintedBytes = {};
};

// A child's picture, drawn large: closed shapes in one-colour outlines, so each
// area fills exactly. The press goes into the sky, the biggest area.
FillCase drawingCase()
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 5));
    p.setBrush(Qt::NoBrush);
    p.drawLine(0, 820, 1919, 820);                                  // ground
    p.drawRect(600, 480, 560, 340);                                 // house
    p.drawPolygon(QPolygon({{560, 480}, {880, 220}, {1200, 480}})); // roof
    p.drawRect(820, 620, 120, 200);                                 // door
    p.drawRect(660, 540, 110, 90);                                  // windows
    p.drawRect(990, 540, 110, 90);
    p.drawLine(715, 540, 715, 630);
    p.drawLine(1045, 540, 1045, 630);
    p.drawEllipse(QPoint(1650, 190), 110, 110); // sun and its rays
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265358979 / 6;
        p.drawLine(QPointF(1650 + 140 * std::cos(a), 190 + 140 * std::sin(a)),
                   QPointF(1650 + 210 * std::cos(a), 190 + 210 * std::sin(a)));
    }
    p.drawEllipse(QPoint(300, 160), 150, 60); // clouds
    p.drawEllipse(QPoint(420, 130), 120, 70);
    p.drawRect(1380, 620, 50, 200); // tree
    p.drawEllipse(QPoint(1405, 520), 130, 120);
    for (int i = 0; i < 8; ++i) { // flowers in the grass
        p.drawEllipse(QPoint(120 + 220 * i, 940), 30, 30);
    }
    p.end();
    return {"drawing", image, {QPoint(60, 400)}};
}

// One-pixel corridors of a perfect maze: the fill has to wind through every one.
FillCase mazeCase()
{
    constexpr int cells = 1023;
    constexpr int side = 2 * cells + 1;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::mt19937 random(7);
    std::vector<bool> seen(static_cast<std::size_t>(cells * cells), false);
    std::vector<int> path{0};
    seen[0] = true;
    const QRgb white = qRgb(255, 255, 255);
    image.setPixel(1, 1, white);
    while (!path.empty()) {
        const int c = path.back();
        const int cx = c % cells;
        const int cy = c / cells;
        int options[4];
        int count = 0;
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (int d = 0; d < 4; ++d) {
            const int nx = cx + steps[d][0];
            const int ny = cy + steps[d][1];
            if (nx >= 0 && ny >= 0 && nx < cells && ny < cells &&
                !seen[static_cast<std::size_t>(ny * cells + nx)]) {
                options[count++] = d;
            }
        }
        if (count == 0) {
            path.pop_back();
            continue;
        }
        const int d = options[random() % static_cast<unsigned>(count)];
        const int nx = cx + steps[d][0];
        const int ny = cy + steps[d][1];
        seen[static_cast<std::size_t>(ny * cells + nx)] = true;
        image.setPixel(2 * cx + 1 + steps[d][0], 2 * cy + 1 + steps[d][1], white);
        image.setPixel(2 * nx + 1, 2 * ny + 1, white);
        path.push_back(ny * cells + nx);
    }
    return {"maze", image, {QPoint(1, 1)}};
}

// A page of many small areas, 1 to 50 pixels each, in black walls: a grid of bands
// of random height, each cut into cells of random width. Every press lands on an
// area of its own, so the cost measured is that of starting and finishing a fill.
FillCase smallFillsCase()
{
    constexpr int side = 4096;
    constexpr std::size_t pressCount = 100000;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::black);
    std::mt19937 random(11);
    const QRgb ground = qRgb(250, 240, 200);
    std::vector<QPoint> cells;
    for (int top = 1; top < side - 1;) {
        const int height = std::min(1 + static_cast<int>(random() % 7), side - 1 - top);
        for (int left = 1; left < side - 1;) {
            const int widest = std::max(1, 50 / height);
            const int width = std::min(
                1 + static_cast<int>(random() % static_cast<unsigned>(widest)), side - 1 - left);
            for (int y = top; y < top + height; ++y) {
                std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)) + left, width, ground);
            }
            cells.emplace_back(left + static_cast<int>(random() % static_cast<unsigned>(width)),
                               top + static_cast<int>(random() % static_cast<unsigned>(height)));
            left += width + 1;
        }
        top += height + 1;
    }
    std::shuffle(cells.begin(), cells.end(), random);
    cells.resize(std::min(cells.size(), pressCount));
    return {"small_fills", image, cells};
}

FillCase blankCase()
{
    QImage image(4096, 4096, QImage::Format_RGB32);
    image.fill(Qt::white);
    return {"blank", image, {QPoint(2048, 2048)}};
}

// The OpenCV view matches whole 32-bit pixels; with every alpha byte 0xFF that is
// the same as our 24-bit match.
bool alphaIsOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 0xFF) {
                return false;
            }
        }
    }
    return true;
}

cv::Mat viewOf(QImage& image)
{
    return cv::Mat(image.height(), image.width(), CV_32SC1, image.bits(),
                   static_cast<std::size_t>(image.bytesPerLine()));
}

// OpenCV's mask is one pixel wider on every side than the picture; a set byte
// marks a pixel already filled.
cv::Mat maskFor(const QImage& image)
{
    return cv::Mat::zeros(image.height() + 2, image.width() + 2, CV_8UC1);
}

FillResult fillWithTintaro(QImage& image, const QPoint& press)
{
    return floodFill(image, press.x(), press.y(), kFill);
}

int fillWithOpenCv(cv::Mat& view, cv::Mat& mask, const QPoint& press)
{
    const cv::Scalar paint(static_cast<double>(static_cast<std::int32_t>(toQRgb(kFill))));
    return cv::floodFill(view, mask, cv::Point(press.x(), press.y()), paint, nullptr, cv::Scalar(),
                         cv::Scalar(), 4 | cv::FLOODFILL_FIXED_RANGE);
}

int fillWithOpenCvNoMask(cv::Mat& view, const QPoint& press)
{
    const cv::Scalar paint(static_cast<double>(static_cast<std::int32_t>(toQRgb(kFill))));
    return cv::floodFill(view, cv::Point(press.x(), press.y()), paint, nullptr, cv::Scalar(),
                         cv::Scalar(), 4);
}

enum class Contender { Tintaro, OpenCv, OpenCvNoMask, Memcpy, Recorded };

void runCase(benchmark::State& state, const FillCase* fillCase, Contender who)
{
    QImage work = fillCase->pristine.copy();
    uchar* const bits = work.bits();
    const uchar* const source = fillCase->pristine.constBits();
    const auto bytes = static_cast<std::size_t>(work.sizeInBytes());
    cv::Mat view = viewOf(work);
    cv::Mat mask = maskFor(work);
    UndoHistory history;
    const std::vector<QPoint>& presses = fillCase->presses;
    std::size_t next = presses.size();
    for (auto _ : state) {
        if (next == presses.size()) {
            state.PauseTiming();
            std::memcpy(bits, source, bytes);
            mask.setTo(0);
            history.clear();
            next = 0;
            state.ResumeTiming();
        }
        switch (who) {
        case Contender::Tintaro:
            benchmark::DoNotOptimize(fillWithTintaro(work, presses[next]));
            break;
        case Contender::OpenCv:
            benchmark::DoNotOptimize(fillWithOpenCv(view, mask, presses[next]));
            break;
        case Contender::OpenCvNoMask:
            benchmark::DoNotOptimize(fillWithOpenCvNoMask(view, presses[next]));
            break;
        case Contender::Memcpy:
            std::memcpy(bits, source, fillCase->paintedBytes[next]);
            break;
        case Contender::Recorded:
            benchmark::DoNotOptimize(
                history.fill(work, presses[next].x(), presses[next].y(), kFill));
            break;
        }
        ++next;
        benchmark::ClobberMemory();
    }
    if (work.constBits() != bits) {
        state.SkipWithError("the picture was copied during the run");
    }
}

// Undo (or redo, after an undo) of the one fill of a case, the fill itself untimed.
void runUndo(benchmark::State& state, const FillCase* fillCase, bool redo)
{
    QImage work = fillCase->pristine.copy();
    uchar* const bits = work.bits();
    const auto bytes = static_cast<std::size_t>(work.sizeInBytes());
    const QPoint press = fillCase->presses.front();
    UndoHistory history;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(bits, fillCase->pristine.constBits(), bytes);
        history.clear();
        history.fill(work, press.x(), press.y(), kFill);
        if (redo) {
            history.undo(work);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(redo ? history.redo(work) : history.undo(work));
        benchmark::ClobberMemory();
    }
    QImage check = fillCase->pristine.copy();
    if (redo) {
        fillWithTintaro(check, press);
    }
    if (work != check) {
        state.SkipWithError("undo or redo did not give back the exact picture");
    }
}

// The memory a history holds after many fills on a drawing, every step kept.
void printHistoryBytes(const FillCase& fillCase, int fills)
{
    QImage work = fillCase.pristine.copy();
    UndoHistory history(fills, std::numeric_limits<qsizetype>::max());
    std::mt19937 random(5);
    for (int i = 0; i < fills; ++i) {
        const auto x = static_cast<int>(random() % static_cast<unsigned>(work.width()));
        const auto y = static_cast<int>(random() % static_cast<unsigned>(work.height()));
        const ColorRef colour = rgbColour(static_cast<int>(random() % 4) * 80,
                                          static_cast<int>(random() % 4) * 80, 200);
        history.fill(work, x, y, colour);
    }
    std::printf("undo_history_bytes %s fills=%d steps=%d bytes=%lld (%.2f MiB, limit 64 MiB)\n",
                fillCase.name.c_str(), fills, history.stepCount(),
                static_cast<long long>(history.bytes()),
                static_cast<double>(history.bytes()) / (1 << 20));
}

// Both fills must paint the same pixels, or the comparison means nothing.
void checkSameResult(FillCase& fillCase)
{
    if (!alphaIsOpaque(fillCase.pristine)) {
        std::fprintf(stderr, "%s: picture has a pixel that is not opaque\n", fillCase.name.c_str());
        std::exit(1);
    }
    QImage ours = fillCase.pristine.copy();
    QImage theirs = fillCase.pristine.copy();
    cv::Mat view = viewOf(theirs);
    cv::Mat mask = maskFor(theirs);
    fillCase.paintedBytes.clear();
    for (const QPoint& press : fillCase.presses) {
        const FillResult painted = fillWithTintaro(ours, press);
        const int area = fillWithOpenCv(view, mask, press);
        if (painted.painted != area) {
            std::fprintf(stderr, "%s: the two fills paint %lld and %d pixels at (%d, %d)\n",
                         fillCase.name.c_str(), static_cast<long long>(painted.painted), area,
                         press.x(), press.y());
            std::exit(1);
        }
        fillCase.paintedBytes.push_back(static_cast<std::size_t>(painted.painted) * sizeof(QRgb));
    }
    if (ours != theirs || ours == fillCase.pristine) {
        std::fprintf(stderr, "%s: the two fills disagree or paint nothing\n",
                     fillCase.name.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!initialiseInterleaved(argc, argv)) {
        return 1;
    }
    std::vector<FillCase> cases{blankCase(), drawingCase(), mazeCase(), smallFillsCase()};
    const std::pair<const char*, Contender> contenders[] = {
        {"tintaro", Contender::Tintaro},
        {"opencv", Contender::OpenCv},
        {"opencv_nomask", Contender::OpenCvNoMask},
        {"memcpy", Contender::Memcpy},
        {"recorded", Contender::Recorded}};
    for (FillCase& c : cases) {
        checkSameResult(c);
        for (const auto& [who, contender] : contenders) {
            repeated(
                benchmark::RegisterBenchmark((c.name + "/" + who).c_str(), runCase, &c, contender),
                c.presses.size() > 1 ? benchmark::kNanosecond : benchmark::kMicrosecond, 0.3);
        }
    }
    const FillCase& blank = cases.front();
    for (const bool redo : {false, true}) {
        repeated(benchmark::RegisterBenchmark((blank.name + (redo ? "/redo" : "/undo")).c_str(),
                                              runUndo, &blank, redo),
                 benchmark::kMicrosecond, 0.3);
    }

    MedianReporter reporter;
    reporter.runAll();

    for (const FillCase& c : cases) {
        const double ours = reporter.median(c.name + "/tintaro");
        const double masked = reporter.median(c.name + "/opencv");
        const double unmasked = reporter.median(c.name + "/opencv_nomask");
        const double opencv =
            masked > 0 && unmasked > 0 ? std::min(masked, unmasked) : std::max(masked, unmasked);
        const double copy = reporter.median(c.name + "/memcpy");
        if (ours > 0 && opencv > 0 && copy > 0) {
            std::printf("fill_ratio %s vs_opencv=%.3f vs_memcpy=%.3f\n", c.name.c_str(),
                        ours / opencv, ours / copy);
        }
        // The share of the fill's time that keeping it for undo adds.
        const double recorded = reporter.median(c.name + "/recorded");
        if (ours > 0 && recorded > 0) {
            std::printf("undo_record_overhead %s ratio=%.3f\n", c.name.c_str(),
                        (recorded - ours) / ours);
        }
    }
    const double blankFill = reporter.median(blank.name + "/tintaro");
    for (const char* step : {"undo", "redo"}) {
        const double t = reporter.median(blank.name + "/" + step);
        if (blankFill > 0 && t > 0) {
            std::printf("undo_ratio %s-%s vs_fill=%.3f\n", blank.name.c_str(), step, t / blankFill);
        }
    }
    printHistoryBytes(cases[1], 1000);
    return 0;
}
