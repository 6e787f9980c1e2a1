// Times the pages' view of a book of 1,000 coloured pages on the offscreen
// platform: opening it, from the tap to every page on screen shown with its
// picture (made from the page files, off the window's thread), and scrolling it
// a screen at a time, each scroll painted at once with whatever pictures are
// made. Wall-clock medians (and the slowest scroll): the pictures are made on
// other threads. Every page is
// a coloured copy of a 1363 × 680 page, the size a 1920 × 1080 screen's pages
// have, hard-linked so the book costs the disk one picture. Fails when opening
// takes 200 ms or more.

#include "MedianReporter.h"
#include "core/geometry/DisplayZoom.h"
#include "core/geometry/Units.h"
#include "core/session/PageSession.h"
#include "ui/GalleryView.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPages = 1000;
constexpr double kOpenLimitMs = 200;

bool makeBook(const QString& folder)
{
    const QString drawings = folder + QStringLiteral("/dibujos/");
    if (!QDir(folder).mkdir(QStringLiteral("dibujos")))
        return false;
    QImage page(1363, 680, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setBrush(QColor(220, 40, 40));
    painter.drawEllipse(200, 100, 900, 480);
    painter.end();
    const QString first = drawings + QStringLiteral("1.bmp");
    if (!page.save(first, "BMP"))
        return false;
    QFile keep(folder + QStringLiteral("/borra.txt"));
    if (!keep.open(QIODevice::WriteOnly) || keep.write("NO\r\n") != 4)
        return false;
    for (int n = 1; n <= kPages; ++n) {
        QFile drawing(drawings + QStringLiteral("%1.gif").arg(n));
        const QString copy = drawings + QStringLiteral("%1.bmp").arg(n);
        if (!drawing.open(QIODevice::WriteOnly) ||
            (n > 1 && ::link(QFile::encodeName(first), QFile::encodeName(copy)) != 0))
            return false;
    }
    return true;
}

struct Book {
    QTemporaryDir folder;
    PageSession session{folder.path()};
    QWidget window;
    GalleryView* view = new GalleryView(DisplayZoom(), &window);

    bool ready()
    {
        if (!folder.isValid() || !makeBook(folder.path()))
            return false;
        session.startUp();
        window.resize(1024, 768);
        window.show();
        QCoreApplication::processEvents();
        return session.state().pageCount == kPages;
    }

    void waitForPictures()
    {
        while (view->picturesAwaited() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
};

Book* g_book = nullptr;
// Wall-clock milliseconds of every timed opening and scroll.
std::vector<double> g_openings;
std::vector<double> g_scrolls;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void galleryOpen(benchmark::State& state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        g_book->view->open(g_book->session);
        g_book->view->repaint();
        g_book->waitForPictures();
        state.PauseTiming();
        g_openings.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        g_book->view->hide();
        state.ResumeTiming();
    }
}

// A screen's scroll, painted at once; the pictures catch up untimed.
void galleryScroll(benchmark::State& state)
{
    g_book->view->open(g_book->session);
    QScrollBar* bar = g_book->view->verticalScrollBar();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        bar->triggerAction(bar->value() == bar->maximum() ? QAbstractSlider::SliderToMinimum
                                                          : QAbstractSlider::SliderPageStepAdd);
        g_book->view->viewport()->repaint();
        state.PauseTiming();
        g_scrolls.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        g_book->waitForPictures();
        state.ResumeTiming();
    }
    g_book->view->hide();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!initialiseInterleaved(argc, argv))
        return 1;
    Book book;
    if (!book.ready()) {
        std::fprintf(stderr, "cannot make the book of %d pages\n", kPages);
        return 2;
    }
    g_book = &book;
    repeated(benchmark::RegisterBenchmark("gallery_open", galleryOpen), benchmark::kMillisecond,
             0.5)
        ->UseRealTime();
    repeated(benchmark::RegisterBenchmark("gallery_scroll", galleryScroll), benchmark::kMillisecond,
             0.5)
        ->UseRealTime();
    MedianReporter reporter;
    reporter.runAll();

    const double open = median(g_openings);
    std::printf("gallery_open pages=%d ms=%.1f (median of %zu)\n", kPages, open, g_openings.size());
    std::printf("gallery_scroll pages=%d ms=%.2f slowest_ms=%.2f\n", kPages, median(g_scrolls),
                g_scrolls.empty() ? 0 : *std::max_element(g_scrolls.begin(), g_scrolls.end()));
    if (open >= kOpenLimitMs) {
        std::printf("gallery_open took %.1f ms: over the %.0f ms limit\n", open, kOpenLimitMs);
        return 1;
    }
    return 0;
}
