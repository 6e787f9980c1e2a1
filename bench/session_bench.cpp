// The page session's costs that a child never sees but must never feel:
//   autosave  the write of a changed page to its copy (with its flush to
//             disk), and how long the window is held when it is started in
//             the background;
//   undo_memory  the undo histories of a long morning: 1,000 fills spread
//             over 50 pages, turning all the time.

#include "core/session/PageSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A page of `columns` × 4 closed boxes, 4-pixel black lines on white.
QImage boxes(QSize size, int columns)
{
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const int w = size.width() / columns, h = size.height() / 4;
    for (int x = 0; x <= size.width(); x += w)
        painter.fillRect(std::min(x, size.width() - 4), 0, 4, size.height(), Qt::black);
    for (int y = 0; y <= size.height(); y += h)
        painter.fillRect(0, std::min(y, size.height() - 4), size.width(), 4, Qt::black);
    return page;
}

void writeBook(const QTemporaryDir& dir, const QImage& page, int pages)
{
    QDir(dir.path()).mkdir(QStringLiteral("dibujos"));
    for (int p = 1; p <= pages; ++p)
        page.save(dir.path() + QStringLiteral("/dibujos/%1.gif").arg(p), "BMP");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void autosave(QSize size)
{
    QTemporaryDir dir;
    writeBook(dir, boxes(size, 8), 1);
    PageSession session(dir.path());
    session.startUp();
    std::vector<double> writes, holds;
    QElapsedTimer clock;
    for (int run = 0; run < 7; ++run) {
        session.pickColour(run % 2 ? 0x0000FFu : 0xFF0000u);
        session.fillAt({size.width() / 16, size.height() / 8});
        clock.start();
        session.saveNow();
        writes.push_back(double(clock.nsecsElapsed()) / 1e6);
        session.fillAt({size.width() / 16 + size.width() / 8, size.height() / 8});
        clock.start();
        session.saveInBackground();
        holds.push_back(double(clock.nsecsElapsed()) / 1e6);
        session.saveNow();
    }
    std::printf("autosave %dx%d ms=%.2f held_ms=%.2f\n", size.width(), size.height(),
                median(writes), median(holds));
}

void undoMemory()
{
    constexpr int kPages = 50, kFills = 1000;
    QTemporaryDir dir;
    writeBook(dir, boxes({640, 480}, 8), kPages);
    PageSession session(dir.path());
    session.startUp();
    for (int fill = 0; fill < kFills; ++fill) {
        if (fill % (kFills / kPages / 2) == 0 && fill > 0)
            session.turn(PageSession::Direction::Forward);
        session.pickColour(fill % 2 ? 0x00FF00u : 0x0000FFu);
        session.fillAt({20 + (fill % 8) * 80, 60 + (fill / 8 % 4) * 120});
    }
    std::printf("undo_memory pages=%d fills=%d MiB=%.2f\n", kPages, kFills,
                double(session.historyBytes()) / (1 << 20));
}

} // namespace

int main()
{
    autosave({640, 480});
    autosave({3840, 2160});
    undoMemory();
    return 0;
}
