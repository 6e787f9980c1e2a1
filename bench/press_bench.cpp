// Press to screen: times a left press on the real canvas widget, from the mouse
// event to the changed pixels in the window's backing store, against the fill
// alone on the same picture. Runs on the offscreen platform.
//
// Zoomed cases show a page made for the screen as seen at its zoom, and compare
// with a memcpy of the bytes of the changed rectangle as the screen shows it;
// the undo of a large fill is timed the same way.
//
// Each press paints the same area in the other of two colours, so every press
// does the same work and nothing needs resetting between them. Times are the CPU
// time of the whole process (painting may use Qt's helper threads), median of
// the repetitions.

#include "MedianReporter.h"
#include "core/colour/FloodFill.h"
#include "core/geometry/DisplayZoom.h"
#include "core/geometry/Units.h"
#include "core/geometry/Zoom.h"
#include "core/session/PageSession.h"
#include "ui/Canvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBackingStore>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr ColorRef kColours[2] = {rgbColour(30, 144, 255), rgbColour(255, 200, 0)};

struct PressCase {
    std::string name;
    QImage picture;
    QPoint press;
    double zoom = 1.0;
    qsizetype shownBytes = 0; // the changed rectangle as the screen shows it
};

// A white page with one small closed square in black (10 × 10 inside) near its
// top-left corner; the rest of the page is one large area.
QImage page(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(100, 100, 11, 11);
    p.drawLine(0, height / 2, width / 3, height / 2);
    p.end();
    return image;
}

std::vector<PressCase> cases()
{
    std::vector<PressCase> all;
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        const QImage image = page(size.width(), size.height());
        const std::string name = std::to_string(size.width()) + "x" + std::to_string(size.height());
        all.push_back({name + "_small", image, QPoint(105, 105)});
        all.push_back({name + "_large", image, QPoint(size.width() / 2, size.height() / 2)});
    }
    return all;
}

// The bytes a screen at that zoom shows of what a press there changes.
qsizetype shownBytes(const QImage& picture, QPoint at, double zoom)
{
    QImage copy = picture.copy();
    const QRect changed = floodFill(copy, at.x(), at.y(), kColours[0]).changed;
    return Zoom(zoom).toDevice(changed).width() * qsizetype(Zoom(zoom).toDevice(changed).height()) *
           qsizetype(sizeof(QRgb));
}

// A page made for the screen as seen at its zoom, filling the band above the
// colour bar.
std::vector<PressCase> zoomedCases()
{
    std::vector<PressCase> all;
    for (const QSize screen : {QSize(1920, 1080), QSize(3840, 2160)}) {
        const double zoom = Zoom::forScreen(screen);
        const QSize seen = Zoom(zoom).screenAsSeen(screen);
        const QImage image = page(seen.width() - 2, seen.height() - 90);
        char name[64];
        std::snprintf(name, sizeof name, "%dx%d_zoom%g", screen.width(), screen.height(), zoom);
        for (const auto& [size, at] : {std::pair{"_small", QPoint(105, 105)},
                                       std::pair{"_large", QPoint(seen.width() / 2, 400)}})
            all.push_back({name + std::string(size), image, at, zoom, shownBytes(image, at, zoom)});
    }
    return all;
}

// Where the canvas shows a page pixel: the first device pixel of its block.
QPoint onScreen(const QPoint& pixel, const Zoom& zoom)
{
    return {zoom.edge(pixel.x() + Canvas::kBorder), zoom.edge(pixel.y() + Canvas::kBorder)};
}

QRgb shownPixel(const Canvas& canvas, const QPoint& press, const Zoom& zoom)
{
    const auto* store = static_cast<const QImage*>(canvas.window()->backingStore()->paintDevice());
    const QPoint at = canvas.mapTo(canvas.window(), onScreen(press, zoom));
    return store->pixel(at * store->devicePixelRatio()) & 0x00FFFFFFu;
}

void press(Canvas& canvas, const QPoint& at, const Zoom& zoom)
{
    const QPointF local = onScreen(at, zoom);
    QMouseEvent event(QEvent::MouseButtonPress, local, canvas.mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
    QMouseEvent release(QEvent::MouseButtonRelease, local, canvas.mapToGlobal(local),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &release);
}

// The canvas in a window of its own at the case's zoom, over a session whose
// book holds the case's picture, wired as the main window wires it, shown once.
class ShownCanvas {
public:
    ShownCanvas(QWidget& window, const PressCase* c)
    {
        QDir(m_book.path()).mkdir(QStringLiteral("dibujos"));
        c->picture.save(m_book.path() + QStringLiteral("/dibujos/1.gif"), "BMP");
        m_session = std::make_unique<PageSession>(m_book.path(), m_book.path());
        m_session->startUp();
        const DisplayZoom zoom(c->zoom, 1.0);
        canvas = new Canvas(*m_session, zoom, &window);
        const QSize size(zoom.widgetPixels(pixelsToTwips(canvas->sizeForPicture().width())),
                         zoom.widgetPixels(pixelsToTwips(canvas->sizeForPicture().height())));
        canvas->setGeometry(QRect(QPoint(8, 8), size));
        window.resize(size + QSize(16, 16));
        QObject::connect(canvas, &PictureBox::pressed, canvas,
                         [this](Qt::MouseButton button, QPoint at) {
                             if (button == Qt::LeftButton)
                                 canvas->showChange(m_session->fillAt(at).changed);
                         });
        window.show();
        QCoreApplication::processEvents(); // the first showing, untimed
    }
    PageSession& session() { return *m_session; }

    Canvas* canvas = nullptr;

private:
    QTemporaryDir m_book;
    std::unique_ptr<PageSession> m_session;
};

void pressToScreen(benchmark::State& state, const PressCase* c)
{
    QWidget window;
    ShownCanvas shown(window, c);
    int next = 0;
    for (auto _ : state) {
        shown.session().pickColour(kColours[next]);
        press(*shown.canvas, c->press, Zoom(c->zoom));
        next ^= 1;
    }
    if (shownPixel(*shown.canvas, c->press, Zoom(c->zoom)) !=
        (toQRgb(kColours[next ^ 1]) & 0x00FFFFFFu))
        state.SkipWithError("the press did not reach the screen");
}

// Undo and redo of the press, in turn, to the screen.
void undoToScreen(benchmark::State& state, const PressCase* c)
{
    QWidget window;
    ShownCanvas shown(window, c);
    shown.session().pickColour(kColours[0]);
    press(*shown.canvas, c->press, Zoom(c->zoom));
    bool undone = false;
    for (auto _ : state) {
        const PageSession::Step step = undone ? shown.session().redo() : shown.session().undo();
        shown.canvas->showChange(step.changed);
        undone = !undone;
    }
    const QRgb expected = toQRgb(undone ? rgbColour(255, 255, 255) : kColours[0]) & 0x00FFFFFFu;
    if (shownPixel(*shown.canvas, c->press, Zoom(c->zoom)) != expected)
        state.SkipWithError("the undo did not reach the screen");
}

void memcpyShown(benchmark::State& state, const PressCase* c)
{
    std::vector<char> from(static_cast<std::size_t>(c->shownBytes), 1);
    std::vector<char> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void fillAlone(benchmark::State& state, const PressCase* c)
{
    QImage image = c->picture.copy();
    int next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(floodFill(image, c->press.x(), c->press.y(), kColours[next]));
        next ^= 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!initialiseInterleaved(argc, argv))
        return 1;

    const std::vector<PressCase> all = cases();
    const std::vector<PressCase> zoomed = zoomedCases();
    using Run = void (*)(benchmark::State&, const PressCase*);
    const auto add = [](const PressCase& c, const char* who, Run run) {
        repeated(benchmark::RegisterBenchmark((c.name + "/" + who).c_str(), run, &c),
                 benchmark::kMillisecond, 0.2)
            ->MeasureProcessCPUTime();
    };
    for (const PressCase& c : all) {
        add(c, "press", pressToScreen);
        add(c, "fill", fillAlone);
    }
    for (const PressCase& c : zoomed) {
        add(c, "press", pressToScreen);
        add(c, "memcpy", memcpyShown);
        if (c.name.find("_large") != std::string::npos)
            add(c, "undo", undoToScreen);
    }
    MedianReporter reporter;
    reporter.runAll();

    for (const PressCase& c : all) {
        const double pressed = reporter.median(c.name + "/press");
        const double filled = reporter.median(c.name + "/fill");
        if (pressed > 0 && filled > 0)
            std::printf("press_to_screen %s ms=%.4f vs_fill=%.3f\n", c.name.c_str(), pressed,
                        pressed / filled);
    }
    for (const PressCase& c : zoomed) {
        const double copied = reporter.median(c.name + "/memcpy");
        for (const char* who : {"press", "undo"}) {
            const double took = reporter.median(c.name + "/" + who);
            if (took > 0 && copied > 0)
                std::printf("%s_to_screen %s ms=%.4f vs_memcpy=%.3f\n", who, c.name.c_str(), took,
                            took / copied);
        }
    }
    return 0;
}
