// Times adding an A4 page scanned at 300 dpi (2481 × 3507, grey, noisy) the
// way `tintaro --add` does it: read, scale to the page, clean, encode, store.
// Then adds the gold set in every format at the page size a common laptop
// screen gives and prints how whole one press fills each area.

#include "import/DrawingFile.h"
#include "import/GifPageWriter.h"
#include "import/GoldSet.h"
#include "import/PageAdder.h"
#include "import/PageCleaner.h"
#include "import/PageSize.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr double kLimitSeconds = 1.5;
double g_worst = 0;
int g_runs = 0;

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
    const PageCleaner::Result clean = PageCleaner::clean(drawing.greyPage(0));
    book.add(GifPageWriter::encode(clean.page));
    return clean.page;
}

void addA4Scan(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString scan =
        written(folder, QStringLiteral("scan.png"), GoldSet::make("scan", QSize(827, 1169)));
    if (scan.isEmpty()) {
        state.SkipWithError("cannot write the scan");
        return;
    }
    PageAdder book(folder.path());
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(addPage(scan, book));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        g_worst = std::max(g_worst, took.count());
        ++g_runs;
    }
}

void printQuality()
{
    QTemporaryDir folder;
    PageAdder book(folder.path());
    const QSize drawing = PageSize::fit(QSizeF(800, 600), largestPage(), false);
    for (const char* format : {"png", "jpeg50", "jpeg75", "scan", "svg", "pdf"}) {
        const QString path = written(folder, QStringLiteral("gold.") + QLatin1String(format),
                                     GoldSet::make(QLatin1String(format), drawing));
        const GoldSet::Quality q = GoldSet::measure(addPage(path, book));
        std::printf("import_quality %s areas_whole=%d/%d worst_fill=%.1f%%\n", format, q.whole,
                    q.areas, q.worstFill);
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
    benchmark::RegisterBenchmark("import_a4_scan", addA4Scan)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_runs == 0)
        return 1;
    std::printf("import_time a4_scan s=%.3f (worst of %d)\n", g_worst, g_runs);
    printQuality();
    return g_worst <= kLimitSeconds ? 0 : 1;
}
