// Times our span fill against OpenCV's flood fill and against a plain memcpy of the
// same picture, which is the floor: a fill must at least read and write what it paints.
// Also times the same fills kept in an undo history, and undo and redo of a whole
// page against the fill that painted it.
//
// Every iteration first restores the picture from a pristine copy with the timer
// paused, so the restore is excluded from all three contenders alike; the memcpy
// contender then times one more copy of the same bytes.

#include "colour/FloodFill.h"
#include "colour/UndoHistory.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
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

// Speckles of a second colour on a plain ground: the presses land on speckles, and
// most speckles are a single pixel, so the cost is that of starting a fill.
FillCase noiseCase()
{
    constexpr int side = 1024;
    QImage image(side, side, QImage::Format_RGB32);
    std::mt19937 random(11);
    const QRgb ground = qRgb(250, 240, 200);
    const QRgb speck = qRgb(40, 90, 20);
    std::vector<QPoint> specks;
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const bool isSpeck = random() % 5 == 0;
            row[x] = isSpeck ? speck : ground;
            if (isSpeck) {
                specks.emplace_back(x, y);
            }
        }
    }
    std::vector<QPoint> presses;
    for (int i = 0; i < 4096; ++i) {
        presses.push_back(specks[random() % specks.size()]);
    }
    return {"noise", image, presses};
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

void fillWithTintaro(QImage& image, const std::vector<QPoint>& presses)
{
    for (const QPoint& p : presses) {
        benchmark::DoNotOptimize(floodFill(image, p.x(), p.y(), kFill));
    }
}

void fillWithOpenCv(cv::Mat& view, const std::vector<QPoint>& presses)
{
    const cv::Scalar paint(static_cast<double>(static_cast<std::int32_t>(toQRgb(kFill))));
    for (const QPoint& p : presses) {
        benchmark::DoNotOptimize(cv::floodFill(view, cv::Point(p.x(), p.y()), paint, nullptr,
                                               cv::Scalar(), cv::Scalar(), 4));
    }
}

void fillWithHistory(UndoHistory& history, QImage& image, const std::vector<QPoint>& presses)
{
    for (const QPoint& p : presses) {
        benchmark::DoNotOptimize(history.fill(image, p.x(), p.y(), kFill));
    }
}

enum class Contender { Tintaro, OpenCv, Memcpy, Recorded };

void runCase(benchmark::State& state, const FillCase* fillCase, Contender who)
{
    QImage work = fillCase->pristine.copy();
    uchar* const bits = work.bits();
    const uchar* const source = fillCase->pristine.constBits();
    const auto bytes = static_cast<std::size_t>(work.sizeInBytes());
    cv::Mat view = viewOf(work);
    UndoHistory history;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(bits, source, bytes);
        history.clear();
        state.ResumeTiming();
        switch (who) {
        case Contender::Tintaro:
            fillWithTintaro(work, fillCase->presses);
            break;
        case Contender::OpenCv:
            fillWithOpenCv(view, fillCase->presses);
            break;
        case Contender::Memcpy:
            std::memcpy(bits, source, bytes);
            break;
        case Contender::Recorded:
            fillWithHistory(history, work, fillCase->presses);
            break;
        }
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
    UndoHistory history;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(bits, fillCase->pristine.constBits(), bytes);
        history.clear();
        fillWithHistory(history, work, fillCase->presses);
        if (redo) {
            history.undo(work);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(redo ? history.redo(work) : history.undo(work));
        benchmark::ClobberMemory();
    }
    QImage check = fillCase->pristine.copy();
    if (redo) {
        fillWithTintaro(check, fillCase->presses);
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
void checkSameResult(const FillCase& fillCase)
{
    if (!alphaIsOpaque(fillCase.pristine)) {
        std::fprintf(stderr, "%s: picture has a pixel that is not opaque\n", fillCase.name.c_str());
        std::exit(1);
    }
    QImage ours = fillCase.pristine.copy();
    QImage theirs = fillCase.pristine.copy();
    cv::Mat view = viewOf(theirs);
    fillWithTintaro(ours, fillCase.presses);
    fillWithOpenCv(view, fillCase.presses);
    if (ours != theirs || ours == fillCase.pristine) {
        std::fprintf(stderr, "%s: the two fills disagree or paint nothing\n",
                     fillCase.name.c_str());
        std::exit(1);
    }
}

// Passes everything to the console and keeps the median CPU time of each benchmark:
// the contenders are single-threaded, and CPU time leaves out the moments when other
// work on the machine has the processor.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double median(const std::string& name) const
    {
        const auto it = m_medians.find(name);
        return it == m_medians.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_medians;
};

} // namespace

int main(int argc, char** argv)
{
    // Repetitions of the contenders are interleaved by default, so that a slow spell of
    // the machine falls on all of them alike; a later flag on the command line wins.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const std::vector<FillCase> cases{blankCase(), drawingCase(), mazeCase(), noiseCase()};
    const std::pair<const char*, Contender> contenders[] = {{"tintaro", Contender::Tintaro},
                                                            {"opencv", Contender::OpenCv},
                                                            {"memcpy", Contender::Memcpy},
                                                            {"recorded", Contender::Recorded}};
    for (const FillCase& c : cases) {
        checkSameResult(c);
        for (const auto& [who, contender] : contenders) {
            benchmark::RegisterBenchmark((c.name + "/" + who).c_str(), runCase, &c, contender)
                ->Unit(benchmark::kMicrosecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true)
                ->MinTime(0.3);
        }
    }
    const FillCase& blank = cases.front();
    for (const bool redo : {false, true}) {
        benchmark::RegisterBenchmark((blank.name + (redo ? "/redo" : "/undo")).c_str(), runUndo,
                                     &blank, redo)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->MinTime(0.3);
    }

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const FillCase& c : cases) {
        const double ours = reporter.median(c.name + "/tintaro");
        const double opencv = reporter.median(c.name + "/opencv");
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
