// Times the start-up of a large book: counting 30,000 drawings and deleting
// their 30,000 coloured copies. Counting tests only that each drawing exists,
// so empty files stand in for the pictures. The copies are made again before
// every iteration with the timer paused; only PageBook::startUp() is timed.
//
// A second case stores the drawings in capitals (N.GIF), which misses the
// one-stat exact look-up every time: it must stay linear too, so both cases
// also run at 10,000 pages to compare the cost per page.

#include "core/book/PageBook.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int kLargeBook = 30000;
constexpr double kLimitSeconds = 2.0;

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Creates an empty file; POSIX calls keep the set-up itself quick.
void touch(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        std::exit(2);
    }
    ::close(fd);
}

struct Figures {
    int pages = 0;
    double worst = 0;
    double total = 0;
    int runs = 0;
};

std::map<std::string, Figures> g_figures;

void runStartUp(benchmark::State& state, const char* name, const char* drawingExtension)
{
    const int pages = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir(folder.path()).mkdir(QStringLiteral("dibujos"))) {
        state.SkipWithError("cannot make the program folder");
        return;
    }
    const QString drawings = folder.path() + QStringLiteral("/dibujos/");
    for (int page = 1; page <= pages; ++page)
        touch(drawings + QString::number(page) + QLatin1String(drawingExtension));

    Figures& figures = g_figures[std::string(name) + "/" + std::to_string(pages)];
    figures.pages = pages;
    for (auto _ : state) {
        state.PauseTiming();
        for (int page = 1; page <= pages; ++page)
            touch(drawings + QString::number(page) + QStringLiteral(".bmp"));
        PageBook book(folder.path());
        state.ResumeTiming();

        const double start = processCpuSeconds();
        book.startUp();
        const double seconds = processCpuSeconds() - start;

        state.PauseTiming();
        if (book.state().pageCount != pages ||
            QFile::exists(drawings + QString::number(pages) + QStringLiteral(".bmp"))) {
            state.SkipWithError("start-up miscounted the book or kept a copy");
            return;
        }
        figures.worst = std::max(figures.worst, seconds);
        figures.total += seconds;
        ++figures.runs;
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}

void registerCase(const char* name, const char* drawingExtension)
{
    for (int pages : {10000, kLargeBook}) {
        benchmark::RegisterBenchmark(name, runStartUp, name, drawingExtension)
            ->Arg(pages)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerCase("book_startup", ".gif");
    registerCase("book_startup_capitals", ".GIF");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    bool withinLimit = true;
    for (const char* name : {"book_startup", "book_startup_capitals"}) {
        const auto small = g_figures.find(std::string(name) + "/10000");
        const auto large = g_figures.find(std::string(name) + "/" + std::to_string(kLargeBook));
        if (large == g_figures.end() || large->second.runs == 0)
            continue;
        const Figures& f = large->second;
        std::printf("%s pages=%d cpu_seconds=%.3f (worst of %d; mean %.3f)\n", name, f.pages,
                    f.worst, f.runs, f.total / f.runs);
        if (small != g_figures.end() && small->second.runs > 0) {
            const double perPageSmall = small->second.total / small->second.runs / 10000.0;
            const double perPageLarge = f.total / f.runs / f.pages;
            std::printf("%s cost per page: %.2f us at 10000 pages, %.2f us at %d pages\n", name,
                        perPageSmall * 1e6, perPageLarge * 1e6, f.pages);
        }
        if (f.worst >= kLimitSeconds) {
            std::printf("%s took %.3f s of CPU time: over the %.1f s limit\n", name, f.worst,
                        kLimitSeconds);
            withinLimit = false;
        }
    }
    return withinLimit ? 0 : 1;
}
