#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QFile>
#include <QImage>
#include <QtTest>

// The main window's start-up as a child meets it: old coloured copies go or
// stay as borra.txt says, page 1 shows, the swatches show the red ramp and the
// drawing stands centred above the colour bar.
class StartupE2eTest : public QObject {
    Q_OBJECT
private slots:
    void copiesAndFirstPage_data();
    void copiesAndFirstPage();
    void swatchRampAndCanvasPlacement();
    void emptyDrawingsFolderEndsWithMessage();

private:
    static QImage samplePage(int page);
};

namespace {

using ImageCompare::sameColour;

const QColor kPlantedGreen(0, 255, 0);

} // namespace

QImage StartupE2eTest::samplePage(int page)
{
    return QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/%1.gif").arg(page))
        .convertToFormat(QImage::Format_RGB32);
}

void StartupE2eTest::copiesAndFirstPage_data()
{
    QTest::addColumn<QByteArray>("borraTxt"); // empty: no borra.txt at all
    QTest::addColumn<bool>("copiesKept");

    QTest::newRow("no borra.txt: copies deleted, page 1 from 1.gif") << QByteArray() << false;
    QTest::newRow("borra.txt 'no': copies kept, page 1 from 1.bmp") << QByteArray("no\r\n") << true;
}

void StartupE2eTest::copiesAndFirstPage()
{
    QFETCH(QByteArray, borraTxt);
    QFETCH(bool, copiesKept);

    const QImage drawing = samplePage(1);
    QVERIFY2(!drawing.isNull(), "the sample book has no readable dibujos/1.gif");

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.clearDrawings());
    for (int page = 1; page <= 3; ++page)
        QVERIFY(harness.copySamplePage(page, QStringLiteral("%1.gif").arg(page)));
    // Coloured copies that look nothing like the drawings: all green.
    QImage green(drawing.size(), QImage::Format_RGB32);
    green.fill(kPlantedGreen);
    QVERIFY(harness.writeDrawing(QStringLiteral("1.bmp"), green));
    QVERIFY(harness.writeDrawing(QStringLiteral("2.bmp"), green));
    if (!borraTxt.isEmpty())
        QVERIFY(harness.writeBorraTxt(borraTxt));

    QVERIFY2(harness.startToMainWindow(), qPrintable(harness.describe()));

    // A pixel the drawing shows white (or black), and the copy green.
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(drawing);
    QVERIFY(!areas.isEmpty());
    const QPoint inside = areas.first().inside;
    const QPoint outline = areas.first().outline;
    const QPoint insideOnScreen = MainWindowGeometry::canvasPixel(drawing.size(), inside);
    const QPoint outlineOnScreen = MainWindowGeometry::canvasPixel(drawing.size(), outline);
    const QColor expected = copiesKept ? kPlantedGreen : QColor(drawing.pixel(inside));
    QImage shot;
    QVERIFY2(harness.waitForPixel(insideOnScreen, expected, 8000, &shot),
             qPrintable(QStringLiteral("page 1 pixel at %1,%2 shows %3, expected %4; %5")
                            .arg(insideOnScreen.x())
                            .arg(insideOnScreen.y())
                            .arg(QColor(shot.pixel(insideOnScreen)).name(), expected.name(),
                                 harness.describe())));
    const QColor expectedOutline = copiesKept ? kPlantedGreen : QColor(drawing.pixel(outline));
    QCOMPARE(QColor(shot.pixel(outlineOnScreen)), expectedOutline);

    const QString copy1 = harness.drawingsFolder() + QStringLiteral("/1.bmp");
    const QString copy2 = harness.drawingsFolder() + QStringLiteral("/2.bmp");
    QCOMPARE(QFile::exists(copy1), copiesKept);
    QCOMPARE(QFile::exists(copy2), copiesKept);
    QVERIFY(QFile::exists(harness.drawingsFolder() + QStringLiteral("/1.gif")));
    QVERIFY(harness.programRunning());
}

void StartupE2eTest::swatchRampAndCanvasPlacement()
{
    const QImage drawing = samplePage(1);
    QVERIFY(!drawing.isNull());

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY2(harness.startToMainWindow(), qPrintable(harness.describe()));

    // The last swatch is the last to be coloured; once it shows, all do.
    const QPoint lastSwatch = MainWindowGeometry::swatch(10).center();
    QImage shot;
    QVERIFY2(harness.waitForPixel(lastSwatch, QColor(220, 0, 0), 8000, &shot),
             qPrintable(QStringLiteral("swatch 10 shows %1; %2")
                            .arg(QColor(shot.pixel(lastSwatch)).name(), harness.describe())));
    for (int k = 0; k <= 10; ++k) {
        const QPoint centre = MainWindowGeometry::swatch(k).center();
        QVERIFY2(sameColour(shot.pixel(centre), qRgb(20 * (k + 1), 0, 0)),
                 qPrintable(QStringLiteral("swatch %1 at %2,%3 shows %4, expected rgb(%5,0,0)")
                                .arg(k)
                                .arg(centre.x())
                                .arg(centre.y())
                                .arg(QColor(shot.pixel(centre)).name())
                                .arg(20 * (k + 1))));
    }

    // The canvas: a black one-pixel border round the drawing, where the
    // placement above the colour bar puts it, and the drawing inside it.
    const QRect canvas = MainWindowGeometry::canvas(drawing.size());
    QCOMPARE(canvas, QRect(191, 109, 642, 482));
    const QPoint corners[] = {canvas.topLeft(), canvas.topRight(), canvas.bottomLeft(),
                              canvas.bottomRight()};
    for (const QPoint& corner : corners) {
        QVERIFY2(sameColour(shot.pixel(corner), qRgb(0, 0, 0)),
                 qPrintable(QStringLiteral("canvas border corner %1,%2 shows %3")
                                .arg(corner.x())
                                .arg(corner.y())
                                .arg(QColor(shot.pixel(corner)).name())));
    }
    const QImage inside = shot.copy(canvas.adjusted(1, 1, -1, -1));
    int differing = 0;
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x)
            if (!sameColour(inside.pixel(x, y), drawing.pixel(x, y)))
                ++differing;
    QVERIFY2(
        differing == 0,
        qPrintable(QStringLiteral("%1 pixels inside the canvas differ from 1.gif").arg(differing)));
}

void StartupE2eTest::emptyDrawingsFolderEndsWithMessage()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.clearDrawings());
    QVERIFY(harness.startDisplay());
    QVERIFY(harness.startProgram());
    QVERIFY2(harness.passIntro(), qPrintable(harness.describe()));

    const QList<qulonglong> boxes = harness.waitForMessageBoxes(1, 8000);
    QVERIFY2(boxes.size() == 1, qPrintable(harness.describe()));
    QVERIFY(harness.closeWithReturn(boxes.first()));

    const int status = harness.waitForExit(8000);
    QVERIFY2(status != 0 && status != -1,
             qPrintable(QStringLiteral("exit status %1; %2").arg(status).arg(harness.describe())));
    const QByteArray errors = harness.programStderr();
    QVERIFY2(errors.contains("Tintaro: ") && errors.contains("1.gif"), errors.constData());
}

QTEST_GUILESS_MAIN(StartupE2eTest)
#include "StartupE2eTest.moc"
