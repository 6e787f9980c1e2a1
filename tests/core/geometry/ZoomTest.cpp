#include "core/geometry/Zoom.h"
#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/DisplayZoom.h"
#include "core/geometry/Layout.h"
#include "core/geometry/UndoButtonPlacement.h"
#include "core/geometry/Units.h"

#include <QtTest>
#include <limits>

class ZoomTest : public QObject {
    Q_OBJECT
private slots:
    void forScreen_data();
    void forScreen();
    void undoButtonNeverHidden_data();
    void undoButtonNeverHidden();
    void pressToPixel_data();
    void pressToPixel();
};

void ZoomTest::forScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("zoom");
    QTest::newRow("1024x768") << QSize(1024, 768) << 1.0;
    QTest::newRow("smaller") << QSize(800, 600) << 1.0;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 1.40625;
    QTest::newRow("3840x2160") << QSize(3840, 2160) << 2.8125;
    QTest::newRow("1280x1024, width decides") << QSize(1280, 1024) << 1.25;
}

void ZoomTest::forScreen()
{
    QFETCH(QSize, screen);
    QFETCH(double, zoom);
    QCOMPARE(Zoom::forScreen(screen), zoom);
}

void ZoomTest::undoButtonNeverHidden_data()
{
    QTest::addColumn<QSize>("screen"); // as seen at the zoom
    QTest::addColumn<QSize>("page");
    const QList<QSize> pages{{640, 480}, {1020, 510}, {1360, 600}, {300, 900}, {20, 20}};
    for (const QSize screen : {QSize(1024, 768), QSize(1365, 768), QSize(960, 540)}) {
        for (const QSize page : pages)
            QTest::addRow("%dx%d page %dx%d", screen.width(), screen.height(), page.width(),
                          page.height())
                << screen << page;
    }
}

void ZoomTest::undoButtonNeverHidden()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, page);
    const double sw = pixelsToTwips(screen.width()), sh = pixelsToTwips(screen.height());
    const Layout layout = Layout::compute(sw, sh);
    const double width = pixelsToTwips(page.width() + 2), height = pixelsToTwips(page.height() + 2);
    const CanvasPlacement placed = CanvasPlacement::place(sw, layout.colourBar.top(), width, height,
                                                          CanvasPlacement::Pin::WithoutGap);
    const QRectF canvas(placed.canvasLeft, placed.canvasTop, width, placed.canvasHeight);
    const QRectF mascot(QPointF(placed.mascotLeft, placed.mascotTop), layout.mascot.size());
    const QRectF button = UndoButtonPlacement::place(
        {QSizeF(sw, sh), canvas, mascot, layout.back, layout.door}, QSizeF(855, 1000));
    QVERIFY(QRectF(0, 0, sw, sh).contains(button));
    QVERIFY(!button.intersects(canvas));
    for (const QRectF& band : {layout.back, layout.forward, layout.colourBar, layout.eraser,
                               layout.door, layout.swatches[0]})
        QVERIFY(!button.intersects(band));
}

void ZoomTest::pressToPixel_data()
{
    QTest::addColumn<float>("press");
    QTest::addColumn<int>("pixel");
    QTest::newRow("2.5 goes down to even") << 2.5f << 2;
    QTest::newRow("3.5 goes up to even") << 3.5f << 4;
    QTest::newRow("0.5") << 0.5f << 0;
    QTest::newRow("just under a half") << 2.499f << 2;
    QTest::newRow("just over a half") << 2.501f << 3;
    QTest::newRow("-0.5") << -0.5f << 0;
    QTest::newRow("-1.5") << -1.5f << -2;
    QTest::newRow("far beyond int") << 1e20f << std::numeric_limits<int>::max();
    QTest::newRow("far below int") << -1e20f << std::numeric_limits<int>::min();
}

void ZoomTest::pressToPixel()
{
    QFETCH(float, press);
    QFETCH(int, pixel);
    QCOMPARE(DisplayZoom::pressToPixel(press), pixel);
}

QTEST_GUILESS_MAIN(ZoomTest)
#include "ZoomTest.moc"
