// Times adding an A4 page scanned at 300 dpi (2481 × 3507, grey, noisy, PNG)
// and at 600 dpi (7016 × 4960, JPEG) the way `tintaro --add` does it: read,
// scale to the page, clean, encode, store. Then adds the gold set in every
// format, and the drawings real pages are hard on, at the page size a common
// laptop screen gives and prints how whole one press fills each area. Last,
// times a 12-megapixel photograph and prints how pages made from photographs
// divide, and how the real pictures bench/real-pictures.sh lists do.

#include "GoldPlans.h"
#include "RealSet.h"
#include "core/book/Failure.h"
#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/GoldSet.h"
#include "import/PageAdder.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

struct Timing {
    const char* name;
    double limitSeconds;
    double worst = 0;
    int runs = 0;
};
Timing g_a4Scan{"a4_scan", 1.5};
Timing g_a4At600{"a4_600dpi", 3};
Timing g_photo12mp{"photo_12mp", 2};

QString written(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

const QSize& largestPage()
{
    static const QSize page = PageSize::largestShownWhole(PageSize::kHeadlessScreen);
    return page;
}

// Returns the clean page stored as the book's next page.
QImage addPage(const QString& path, PageAdder& book)
{
    DrawingFile drawing(path, largestPage());
    const PageCleaner::Result clean = PageCleaner::clean(drawing.page(0));
    book.add(GifPageWriter::encode(clean.page));
    return clean.page;
}

QByteArray jpeg(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 90);
    return bytes;
}

void addScan(benchmark::State& state, Timing* timing, QSize page, const char* format)
{
    QTemporaryDir folder;
    const QString scan = written(folder, QStringLiteral("scan"),
                                 format ? GoldSet::make(QLatin1String(format), page)
                                        : jpeg(GoldSet::photo(page, 2)));
    if (scan.isEmpty()) {
        state.SkipWithError("cannot write the scan");
        return;
    }
    PageAdder book(folder.path());
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        try {
            benchmark::DoNotOptimize(addPage(scan, book));
        } catch (const Failure& failure) {
            state.SkipWithError(qPrintable(failure.reason()));
            return;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        timing->worst = std::max(timing->worst, took.count());
        ++timing->runs;
    }
}

struct Case {
    const char* name;
    const GoldSet::Plan& plan;
    const char* format;
    QSizeF shape = QSizeF(800, 600);
};

void printQuality()
{
    QTemporaryDir folder;
    PageAdder book(folder.path());
    const Case cases[] = {
        {"png", GoldSet::shapes(), "png"},
        {"jpeg50", GoldSet::shapes(), "jpeg50"},
        {"jpeg75", GoldSet::shapes(), "jpeg75"},
        {"scan", GoldSet::shapes(), "scan"},
        {"svg", GoldSet::shapes(), "svg"},
        {"pdf", GoldSet::shapes(), "pdf"},
        {"strips", GoldPlans::strips(), "png"},
        {"strips_jpeg75", GoldPlans::strips(), "jpeg75"},
        {"rings", GoldPlans::rings(), "png"},
        {"cartoon", GoldPlans::cartoon(), "png"},
        {"cartoon_jpeg75", GoldPlans::cartoon(), "jpeg75"},
        {"faint_scan", GoldPlans::faint(), "scan"},
        {"bold", GoldPlans::bold(), "png"},
        {"bold_jpeg75", GoldPlans::bold(), "jpeg75"},
        {"clipart", GoldPlans::clipArt(), "png"},
        {"clipart_jpeg75", GoldPlans::clipArt(), "jpeg75"},
        {"a4_600dpi", GoldSet::shapes(), "scan7016", QSizeF(7016, 4960)},
    };
    for (const Case& c : cases) {
        const QSize drawing = PageSize::fit(c.shape, largestPage(), false);
        const QString path = written(folder, QLatin1String(c.name),
                                     GoldSet::make(c.plan, QLatin1String(c.format), drawing));
        GoldSet::Quality q;
        try {
            q = GoldSet::measure(c.plan, addPage(path, book));
        } catch (const Failure& failure) {
            std::printf("import_quality %s refused: %s\n", c.name, qPrintable(failure.reason()));
            continue;
        }
        std::printf("import_quality %s areas_whole=%d/%d worst_fill=%.1f%% leaks=%d "
                    "stray_paper=%.2f%%\n",
                    c.name, q.whole, q.areas, q.worstFill, q.leaks, q.strayPaper);
    }
}

// How the pages made from photographs divide: the areas, the largest share of
// the page one area takes, the share of areas smaller than 0.1 % of the page.
void printPhotos()
{
    QTemporaryDir folder;
    PageAdder book(folder.path());
    for (int seed = 1; seed <= 4; ++seed) {
        const QString name = QStringLiteral("photo%1").arg(seed);
        const QString path = written(folder, name, jpeg(GoldSet::photo(QSize(1600, 1200), seed)));
        try {
            DrawingFile drawing(path, largestPage());
            const PageCleaner::Result clean = PageCleaner::clean(drawing.page(0));
            const double page = double(clean.page.width()) * clean.page.height();
            const auto small = std::count_if(clean.areaPoints.begin(), clean.areaPoints.end(),
                                             [&](int points) { return points < page / 1000; });
            std::printf(
                "import_photo %s areas=%d largest=%.1f%% small_share=%.1f%%\n", qPrintable(name),
                clean.closedAreas, 100.0 * clean.areaPoints.value(0) / page,
                100.0 * double(small) / double(std::max<qsizetype>(1, clean.areaPoints.size())));
        } catch (const Failure& failure) {
            std::printf("import_photo %s refused: %s\n", qPrintable(name),
                        qPrintable(failure.reason()));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RegisterBenchmark("import_a4_scan", addScan, &g_a4Scan, QSize(827, 1169), "scan")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("import_a4_600dpi", addScan, &g_a4At600,
                                 PageSize::fit(QSizeF(7016, 4960), largestPage(), false),
                                 "scan7016")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("import_photo_12mp", addScan, &g_photo12mp, QSize(4000, 3000),
                                 nullptr)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bool fast = true;
    for (const Timing* timing : {&g_a4Scan, &g_a4At600, &g_photo12mp}) {
        if (timing->runs == 0) {
            std::printf("import_time %s refused\n", timing->name);
            fast = false;
            continue;
        }
        std::printf("import_time %s s=%.3f (worst of %d)\n", timing->name, timing->worst,
                    timing->runs);
        fast = fast && timing->worst <= timing->limitSeconds;
    }
    printQuality();
    printPhotos();
    // The real pictures, when bench.sh fetched them.
    const QString real = qEnvironmentVariable("TINTARO_REAL_SET");
    if (!real.isEmpty() && !RealSet::print(real, largestPage()))
        std::printf("import_real cannot read %s\n", qPrintable(real));
    return fast ? 0 : 1;
}
