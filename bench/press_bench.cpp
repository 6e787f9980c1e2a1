// Press to screen: times a left press on the real canvas widget, from the mouse
// event to the changed pixels in the window's backing store, against the fill
// alone on the same picture. Runs on the offscreen platform.
//
// Each press paints the same area in the other of two colours, so every press
// does the same work and nothing needs resetting between them. Times are the CPU
// time of the whole process (painting may use Qt's helper threads), median of
// the repetitions.

#include "MedianReporter.h"
#include "colour/FloodFill.h"
#include "ui/Canvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBackingStore>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr ColorRef kColours[2] = {rgbColour(30, 144, 255), rgbColour(255, 200, 0)};

struct PressCase {
    std::string name;
    QImage picture;
    QPoint press;
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

QRgb shownPixel(const Canvas& canvas, const QPoint& press)
{
    const auto* store = static_cast<const QImage*>(canvas.window()->backingStore()->paintDevice());
    const QPoint at =
        canvas.mapTo(canvas.window(), press + QPoint(Canvas::kBorder, Canvas::kBorder));
    return store->pixel(at * store->devicePixelRatio()) & 0x00FFFFFFu;
}

void press(Canvas& canvas, const QPoint& at)
{
    const QPointF local = at + QPointF(Canvas::kBorder, Canvas::kBorder);
    QMouseEvent event(QEvent::MouseButtonPress, local, canvas.mapToGlobal(local), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
    QMouseEvent release(QEvent::MouseButtonRelease, local, canvas.mapToGlobal(local),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &release);
}

// The canvas in a window of its own, wired as the main window wires it.
void pressToScreen(benchmark::State& state, const PressCase* c)
{
    QWidget window;
    auto* canvas = new Canvas(&window);
    canvas->setPicture(c->picture);
    canvas->setGeometry(QRect(QPoint(8, 8), canvas->sizeForPicture()));
    window.resize(canvas->sizeForPicture() + QSize(16, 16));
    QObject::connect(canvas, &PictureBox::mouseDown, canvas,
                     [canvas](int button, int, float x, float y) {
                         if (button == PictureBox::kLeftButton)
                             canvas->fillAt(pressToPixel(x), pressToPixel(y));
                     });
    window.show();
    QCoreApplication::processEvents(); // the first showing, untimed
    int next = 0;
    for (auto _ : state) {
        canvas->setFillColour(kColours[next]);
        press(*canvas, c->press);
        next ^= 1;
    }
    if (shownPixel(*canvas, c->press) != (toQRgb(kColours[next ^ 1]) & 0x00FFFFFFu))
        state.SkipWithError("the press did not reach the screen");
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
    for (const PressCase& c : all) {
        for (auto [who, run] : {std::pair{"press", pressToScreen}, std::pair{"fill", fillAlone}}) {
            repeated(benchmark::RegisterBenchmark((c.name + "/" + who).c_str(), run, &c),
                     benchmark::kMillisecond, 0.2)
                ->MeasureProcessCPUTime();
        }
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
    return 0;
}
