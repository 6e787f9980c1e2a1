#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"

#include <QFile>
#include <QImage>
#include <QtTest>
#include <cfenv>
#include <cmath>

// The book on a 1920 × 1080 screen: zoomed 1.40625 times, its composition
// worked out here from the layout's twips, independently of the program.
class ZoomE2eTest : public QObject {
    Q_OBJECT
private slots:
    void zoomedPressFillsExactlyAndTurnSavesAtOwnSize();
};

namespace {

constexpr double kZoom = 1920.0 / 1024.0 < 1080.0 / 768.0 ? 1920.0 / 1024.0 : 1080.0 / 768.0;
// The screen as seen at the zoom, in twips; the colour bar's top is that
// of the 768-high screen, which the zoomed one looks like.
constexpr double kScreenTwips = 1920 / kZoom * 15;
constexpr double kColourBarTop = 10495;

int device(double twips)
{
    std::fesetround(FE_TONEAREST);
    return static_cast<int>(std::nearbyint(twips * kZoom / 15));
}

// The first device pixel of pixel `pixel` of a picture control at `origin`.
int edge(int origin, int pixel)
{
    return origin + static_cast<int>(std::floor(pixel * kZoom));
}

// `page` inside its canvas as the zoomed screen shows it: whole blocks of
// device pixels, each the colour of the page pixel it stands for.
QImage zoomedPage(const QImage& page)
{
    const int width = edge(0, page.width() + 1) - edge(0, 1);
    const int height = edge(0, page.height() + 1) - edge(0, 1);
    QImage shown(width, height, QImage::Format_RGB32);
    for (int y = 0, py = 0; y < height; ++y) {
        while (edge(0, py + 2) - edge(0, 1) <= y)
            ++py;
        for (int x = 0, px = 0; x < width; ++x) {
            while (edge(0, px + 2) - edge(0, 1) <= x)
                ++px;
            shown.setPixel(x, y, page.pixel(px, py));
        }
    }
    return shown;
}

} // namespace

void ZoomE2eTest::zoomedPressFillsExactlyAndTurnSavesAtOwnSize()
{
    const QImage page = QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/1.gif"))
                            .convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(page);
    QVERIFY(!areas.isEmpty());
    E2eHarness harness;
    harness.setScreenSize(QSize(1920, 1080));
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startToMainWindow());

    // The canvas, centred across and in the band above the colour bar.
    const double width = (page.width() + 2) * 15.0, height = (page.height() + 2) * 15.0;
    const QPoint canvas(device((kScreenTwips - width) / 2),
                        device(std::nearbyint((kColourBarTop - height) / 2)));
    const QPoint inside(edge(canvas.x(), 1), edge(canvas.y(), 1));
    const auto shows = [&](const QImage& expected) {
        return [&, expected](const QImage& shot) {
            return ImageCompare::difference(shot.copy(QRect(inside, expected.size())), expected)
                .isEmpty();
        };
    };
    QImage shot;
    QVERIFY2(harness.waitForScreen(shows(zoomedPage(page)), 8000, &shot),
             qPrintable(E2eHarness::saveArtefact(shot, QStringLiteral("zoom-start"))));

    // Blue from the colour bar (lower row, column 6), then one press on the
    // last device pixel of an area's pixel: exactly that area turns blue.
    const double margin = std::floor((kScreenTwips - 11 * 495) / 2);
    const QPoint bar(device(margin), device(kColourBarTop));
    QVERIFY(harness.click(QPoint(edge(bar.x(), 1 + 108), edge(bar.y(), 1 + 25))));
    const QPoint pressed = areas.first().inside;
    QVERIFY(harness.click(
        QPoint(edge(inside.x(), pressed.x() + 1) - 1, edge(inside.y(), pressed.y() + 1) - 1)));
    const QImage blue = DrawingProbe::filled(page, pressed, qRgb(0, 0, 255));
    QVERIFY2(harness.waitForScreen(shows(zoomedPage(blue)), 5000, &shot),
             qPrintable(E2eHarness::saveArtefact(shot, QStringLiteral("zoom-pressed"))));

    // The next-page ball, left of the swatches: the page is saved at its own size.
    const double command4Left = margin - 855 - 25;
    QVERIFY(harness.click(QPoint(device(command4Left + 855 / 2.0), device(kColourBarTop + 500))));
    const QString copy = harness.drawingsFolder() + QStringLiteral("/1.bmp");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(QImage(copy).convertToFormat(QImage::Format_RGB32), blue, 5000);
}

QTEST_GUILESS_MAIN(ZoomE2eTest)
#include "ZoomE2eTest.moc"
