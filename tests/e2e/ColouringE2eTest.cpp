#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QImage>
#include <QtTest>

// Colouring as a child does it: press inside an area, pick a colour on the
// colour bar or a tint on a swatch, copy the page with a double-click; and
// every control where the layout for a 1024 × 768 screen puts it, the
// swatches showing the red ramp they start with.
class ColouringE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pressFillsAreaUpToOutline();
    void colourBarPicksColourAndTints_data();
    void colourBarPicksColourAndTints();
    void swatchPicksItsTint();
    void doubleClickCopiesCanvasToClipboard();
    void controlsStandWhereLayoutPutsThem();

private:
    // Starts the program on the sample book; fails the test when it cannot.
    bool start(E2eHarness& harness);
    // Presses inside `area` and waits until the canvas shows exactly the
    // drawing `expected`; explains the difference otherwise.
    bool fillAndCompare(E2eHarness& harness, const DrawingProbe::Area& area, const QImage& expected,
                        const QString& label, QString* why);

    QImage m_drawing;
    QList<DrawingProbe::Area> m_areas;
};

namespace {

using ImageCompare::difference;
using ImageCompare::rgbText;
using ImageCompare::sameColour;

QRgb tint(QRgb picked, int i)
{
    return qRgb(qMin(255, qRed(picked) + 15 * i), qMin(255, qGreen(picked) + 20 * i),
                qMin(255, qBlue(picked) + 15 * i));
}

} // namespace

void ColouringE2eTest::initTestCase()
{
    m_drawing = QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/1.gif"))
                    .convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!m_drawing.isNull(), "the sample book has no readable dibujos/1.gif");
    m_areas = DrawingProbe::enclosedWhiteAreas(m_drawing);
    QVERIFY2(m_areas.size() >= 3, "page 1 of the sample book needs three closed white areas");
}

bool ColouringE2eTest::start(E2eHarness& harness)
{
    if (!harness.prepareProgramFolder() || !harness.startToMainWindow())
        return false;
    // Ready once the first area of page 1 shows white.
    const QPoint probe = MainWindowGeometry::canvasPixel(m_drawing.size(), m_areas[0].inside);
    return harness.waitForPixel(probe, Qt::white, 8000);
}

bool ColouringE2eTest::fillAndCompare(E2eHarness& harness, const DrawingProbe::Area& area,
                                      const QImage& expected, const QString& label, QString* why)
{
    const QSize size = m_drawing.size();
    const QPoint press = MainWindowGeometry::canvasPixel(size, area.inside);
    const QRect inside = MainWindowGeometry::canvas(size).adjusted(1, 1, -1, -1);
    if (!harness.click(press)) {
        *why = QStringLiteral("could not press at %1,%2").arg(press.x()).arg(press.y());
        return false;
    }
    const QRgb wanted = expected.pixel(area.inside);
    QImage shot;
    const bool shown = harness.waitForScreen(
        [&](const QImage& s) { return difference(s.copy(inside), expected).isEmpty(); }, 5000,
        &shot);
    if (shown)
        return true;
    *why = QStringLiteral("after a press at %1,%2 the pressed pixel shows %3 (expected %4); "
                          "canvas vs expected: %5; screenshot %6")
               .arg(press.x())
               .arg(press.y())
               .arg(rgbText(shot.pixel(press)), rgbText(wanted),
                    difference(shot.copy(inside), expected), E2eHarness::saveArtefact(shot, label));
    return false;
}

void ColouringE2eTest::pressFillsAreaUpToOutline()
{
    E2eHarness harness;
    QVERIFY2(start(harness), qPrintable(harness.describe()));

    const DrawingProbe::Area& area = m_areas[0];
    const QImage expected = DrawingProbe::filled(m_drawing, area.inside, qRgb(255, 0, 0));
    QString why;
    QVERIFY2(fillAndCompare(harness, area, expected, QStringLiteral("fill-red"), &why),
             qPrintable(why));
    QVERIFY(harness.programRunning());
}

void ColouringE2eTest::colourBarPicksColourAndTints_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("picked");

    QTest::newRow("blue, lower row") << 6 << 1 << qRgb(0, 0, 255);
}

void ColouringE2eTest::colourBarPicksColourAndTints()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QRgb, picked);

    E2eHarness harness;
    QVERIFY2(start(harness), qPrintable(harness.describe()));

    const QPoint field = MainWindowGeometry::colourField(column, row);
    QImage shot = harness.screenshot();
    QVERIFY2(sameColour(shot.pixel(field), picked),
             qPrintable(QStringLiteral("the colour bar shows %1 at %2,%3, expected %4; "
                                       "screenshot %5")
                            .arg(rgbText(shot.pixel(field)))
                            .arg(field.x())
                            .arg(field.y())
                            .arg(rgbText(picked),
                                 E2eHarness::saveArtefact(shot, QStringLiteral("colour-bar")))));

    QVERIFY(harness.click(field));
    // The swatches take the eleven tints, the lightest last.
    const QPoint lastSwatch = MainWindowGeometry::swatch(10).center();
    const bool tinted = harness.waitForPixel(lastSwatch, QColor(tint(picked, 11)), 5000, &shot);
    for (int k = 0; k <= 10; ++k) {
        const QPoint centre = MainWindowGeometry::swatch(k).center();
        QVERIFY2(sameColour(shot.pixel(centre), tint(picked, k + 1)),
                 qPrintable(QStringLiteral("after picking %1 swatch %2 shows %3, expected %4%5")
                                .arg(rgbText(picked))
                                .arg(k)
                                .arg(rgbText(shot.pixel(centre)), rgbText(tint(picked, k + 1)),
                                     tinted ? QString() : QStringLiteral(" (timed out)"))));
    }

    // The next fill paints in the picked colour.
    const DrawingProbe::Area& area = m_areas[1];
    const QImage expected = DrawingProbe::filled(m_drawing, area.inside, picked);
    QString why;
    QVERIFY2(fillAndCompare(harness, area, expected, QStringLiteral("fill-picked"), &why),
             qPrintable(why));
}

void ColouringE2eTest::swatchPicksItsTint()
{
    // After blue is picked, swatch 10 holds its lightest tint.
    const int swatch = 10;
    const QRgb colour = qRgb(165, 220, 255);
    E2eHarness harness;
    QVERIFY2(start(harness), qPrintable(harness.describe()));

    const QPoint centre = MainWindowGeometry::swatch(swatch).center();
    QVERIFY(harness.click(MainWindowGeometry::colourField(6, 1)));
    QImage picked;
    QVERIFY2(harness.waitForPixel(centre, QColor(colour), 5000, &picked),
             qPrintable(QStringLiteral("swatch %1 shows %2 after picking blue, expected %3")
                            .arg(swatch)
                            .arg(rgbText(picked.pixel(centre)), rgbText(colour))));
    QVERIFY(harness.click(centre));

    const DrawingProbe::Area& area = m_areas[2];
    const QImage expected = DrawingProbe::filled(m_drawing, area.inside, colour);
    QString why;
    QVERIFY2(fillAndCompare(harness, area, expected, QStringLiteral("fill-swatch"), &why),
             qPrintable(why));
    // A press on a swatch leaves the swatches as they were.
    const QImage shot = harness.screenshot();
    QCOMPARE(rgbText(shot.pixel(centre)), rgbText(colour));
}

void ColouringE2eTest::doubleClickCopiesCanvasToClipboard()
{
    E2eHarness harness;
    QVERIFY2(start(harness), qPrintable(harness.describe()));

    const DrawingProbe::Area& area = m_areas[0];
    const QImage expected = DrawingProbe::filled(m_drawing, area.inside, qRgb(255, 0, 0));
    QString why;
    QVERIFY2(fillAndCompare(harness, area, expected, QStringLiteral("fill-before-copy"), &why),
             qPrintable(why));

    QVERIFY(harness.doubleClick(MainWindowGeometry::colourField(6, 1)));
    QImage copied;
    QDeadlineTimer deadline(5000);
    while (copied.isNull() && !deadline.hasExpired()) {
        copied = harness.clipboardImage();
        if (copied.isNull())
            QThread::msleep(100);
    }
    QVERIFY2(!copied.isNull(), "no image/png on the clipboard after a double-click on the bar");

    // The clipboard holds the page as the canvas shows it inside its border.
    const QImage shot = harness.screenshot();
    const QImage onScreen =
        shot.copy(MainWindowGeometry::canvas(m_drawing.size()).adjusted(1, 1, -1, -1));
    const QString screenDiff = difference(copied, onScreen);
    QVERIFY2(screenDiff.isEmpty(),
             qPrintable(
                 QStringLiteral("clipboard vs screen: %1; saved %2 and %3")
                     .arg(screenDiff, E2eHarness::saveArtefact(copied, QStringLiteral("clipboard")),
                          E2eHarness::saveArtefact(shot, QStringLiteral("clipboard-screen")))));
    QCOMPARE(difference(copied, expected), QString());
}

void ColouringE2eTest::controlsStandWhereLayoutPutsThem()
{
    E2eHarness harness;
    QVERIFY2(start(harness), qPrintable(harness.describe()));
    // The last swatch is the last to be coloured; once it shows, all do.
    QImage shot;
    harness.waitForPixel(MainWindowGeometry::swatch(10).center(), QColor(220, 0, 0), 8000, &shot);
    QVERIFY(!shot.isNull());
    const QString saved = E2eHarness::saveArtefact(shot, QStringLiteral("layout"));

    // Black one-pixel frames all round: the colour bar, the canvas and the
    // swatches.
    auto frameIsBlack = [&](const QRect& r, const QString& name) -> QString {
        for (int x = r.left(); x <= r.right(); ++x) {
            for (int y : {r.top(), r.bottom()}) {
                if (!sameColour(shot.pixel(x, y), qRgb(0, 0, 0)))
                    return QStringLiteral("%1 frame at %2,%3 shows %4")
                        .arg(name)
                        .arg(x)
                        .arg(y)
                        .arg(rgbText(shot.pixel(x, y)));
            }
        }
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x : {r.left(), r.right()}) {
                if (!sameColour(shot.pixel(x, y), qRgb(0, 0, 0)))
                    return QStringLiteral("%1 frame at %2,%3 shows %4")
                        .arg(name)
                        .arg(x)
                        .arg(y)
                        .arg(rgbText(shot.pixel(x, y)));
            }
        }
        return {};
    };
    QStringList problems;
    // The swatches start with the red ramp.
    for (int k = 0; k <= 10; ++k) {
        const QPoint centre = MainWindowGeometry::swatch(k).center();
        if (!sameColour(shot.pixel(centre), qRgb(20 * (k + 1), 0, 0)))
            problems << QStringLiteral("swatch %1 shows %2 at start-up")
                            .arg(k)
                            .arg(rgbText(shot.pixel(centre)));
    }
    const QRect canvas = MainWindowGeometry::canvas(m_drawing.size());
    const QString canvasFrame = frameIsBlack(canvas, QStringLiteral("canvas"));
    if (!canvasFrame.isEmpty())
        problems << canvasFrame;
    const QString barFrame = frameIsBlack(MainWindowGeometry::colourBar(), QStringLiteral("bar"));
    if (!barFrame.isEmpty())
        problems << barFrame;
    for (int k = 0; k <= 10; ++k) {
        const QString swatchFrame =
            frameIsBlack(MainWindowGeometry::swatch(k), QStringLiteral("swatch %1").arg(k));
        if (!swatchFrame.isEmpty())
            problems << swatchFrame;
    }
    // Just outside the canvas and the bar is the background, not a frame.
    const QPoint outside[] = {canvas.topLeft() - QPoint(1, 1),
                              MainWindowGeometry::colourBar().topLeft() - QPoint(1, 1)};
    for (const QPoint& p : outside) {
        if (sameColour(shot.pixel(p), qRgb(0, 0, 0)))
            problems << QStringLiteral("%1,%2 just outside a frame is black").arg(p.x()).arg(p.y());
    }
    // Inside the bar's frame: the colour bar picture, pixel for pixel.
    const QImage barPicture = QImage(QStringLiteral(TINTARO_GENERATED_DIR "/colourbar.bmp"))
                                  .convertToFormat(QImage::Format_RGB32);
    if (barPicture.isNull()) {
        problems << QStringLiteral("no colour bar picture to compare with");
    } else {
        const QString barDiff = difference(
            shot.copy(MainWindowGeometry::colourBar().adjusted(1, 1, -1, -1)), barPicture);
        if (!barDiff.isEmpty())
            problems << QStringLiteral("inside the colour bar's frame: %1").arg(barDiff);
    }
    // Each button shows its picture: a ball, an eraser, a door, all in
    // strong colours that no plain button face has.
    const QRect buttons[] = {MainWindowGeometry::back(), MainWindowGeometry::forward(),
                             MainWindowGeometry::eraser(), MainWindowGeometry::door()};
    const char* names[] = {"backButton", "forwardButton", "eraserButton", "doorButton"};
    for (int i = 0; i < 4; ++i) {
        const QImage button = shot.copy(buttons[i]);
        int strong = 0;
        for (int y = 0; y < button.height(); ++y) {
            for (int x = 0; x < button.width(); ++x) {
                const QRgb c = button.pixel(x, y);
                const int high = qMax(qRed(c), qMax(qGreen(c), qBlue(c)));
                const int low = qMin(qRed(c), qMin(qGreen(c), qBlue(c)));
                if (high - low >= 100)
                    ++strong;
            }
        }
        if (strong < 50)
            problems << QStringLiteral("%1 at %2,%3 shows %4 strongly coloured pixels: no "
                                       "picture on it")
                            .arg(QLatin1String(names[i]))
                            .arg(buttons[i].x())
                            .arg(buttons[i].y())
                            .arg(strong);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; ")) +
                                            QStringLiteral("; screenshot ") + saved));
}

QTEST_GUILESS_MAIN(ColouringE2eTest)
#include "ColouringE2eTest.moc"
