#include "core/geometry/Layout.h"
#include "core/geometry/CanvasPlacement.h"
#include "core/geometry/Tiling.h"
#include "core/geometry/Units.h"

#include <QtTest>
#include <cmath>
#include <limits>

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void screens_data();
    void screens();
    void veryWideScreen();
    void placement_data();
    void placement();
    void tiles_data();
    void tiles();
};

void LayoutTest::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("halfEven");
    QTest::addColumn<qint64>("floor");
    QTest::newRow("0.5") << 0.5 << qint64(0) << qint64(0);
    QTest::newRow("1.5") << 1.5 << qint64(2) << qint64(1);
    QTest::newRow("2.5") << 2.5 << qint64(2) << qint64(2);
    QTest::newRow("-0.5") << -0.5 << qint64(0) << qint64(-1);
    QTest::newRow("-1.5") << -1.5 << qint64(-2) << qint64(-2);
    QTest::newRow("3277.5") << 3277.5 << qint64(3278) << qint64(3277);
    // Never an undefined conversion: NaN is 0, the rest clamps to the range.
    constexpr qint64 top = std::numeric_limits<qint64>::max() - 1023;
    constexpr qint64 bottom = std::numeric_limits<qint64>::min();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("nan") << std::nan("") << qint64(0) << qint64(0);
    QTest::newRow("inf") << inf << top << top;
    QTest::newRow("-inf") << -inf << bottom << bottom;
    QTest::newRow("1e300") << 1e300 << top << top;
    QTest::newRow("-1e19") << -1e19 << bottom << bottom;
}

void LayoutTest::rounding()
{
    QFETCH(double, value);
    QFETCH(qint64, halfEven);
    QFETCH(qint64, floor);
    QCOMPARE(roundHalfEven(value), halfEven);
    QCOMPARE(floorToInt(value), floor);
}

void LayoutTest::screens_data()
{
    QTest::addColumn<double>("sw");
    QTest::addColumn<double>("sh");
    QTest::addColumn<double>("swatchLeft");
    QTest::addColumn<double>("swatchTop");
    QTest::addColumn<double>("command4Left");
    QTest::addColumn<double>("bandTop");
    QTest::addColumn<double>("command3Left");
    QTest::addColumn<double>("command1Left");
    QTest::addColumn<double>("command2Left");
    QTest::addColumn<double>("canvasLeft");
    QTest::addColumn<double>("canvasTop");
    QTest::newRow("1024x768") << 15360.0 << 11520.0 << 4957.0 << 11045.0 << 4077.0 << 10495.0
                              << 3222.0 << 10412.0 << 11292.0 << 4957.5 << 3545.0;
    QTest::newRow("800x600") << 12000.0 << 9000.0 << 3277.0 << 8525.0 << 2397.0 << 7975.0 << 1542.0
                             << 8732.0 << 9612.0 << 3277.5 << 2285.0;
}

void LayoutTest::screens()
{
    QFETCH(double, sw);
    QFETCH(double, sh);
    QFETCH(double, swatchLeft);
    QFETCH(double, swatchTop);
    QFETCH(double, command4Left);
    QFETCH(double, bandTop);
    QFETCH(double, command3Left);
    QFETCH(double, command1Left);
    QFETCH(double, command2Left);
    QFETCH(double, canvasLeft);
    QFETCH(double, canvasTop);

    const Layout l = Layout::compute(sw, sh);
    for (int k = 0; k < 11; ++k) {
        QCOMPARE(l.swatches[k].left(), swatchLeft + 495 * k);
        QCOMPARE(l.swatches[k].top(), swatchTop);
        QCOMPARE(l.swatches[k].height(), 450.0);
    }
    QCOMPARE(l.forward.topLeft(), QPointF(command4Left, bandTop));
    QCOMPARE(l.back.topLeft(), QPointF(command3Left, bandTop));
    QCOMPARE(l.colourBar.topLeft(), QPointF(swatchLeft, bandTop));
    QCOMPARE(l.eraser.topLeft(), QPointF(command1Left, bandTop));
    QCOMPARE(l.door.topLeft(), QPointF(command2Left, bandTop));
    QCOMPARE(l.canvas.topLeft(), QPointF(canvasLeft, canvasTop));
    QCOMPARE(l.mascot.topLeft(), QPointF(canvasLeft + 5445 + 100, canvasTop));
}

void LayoutTest::veryWideScreen()
{
    // Far wider than a 16-bit margin can hold: computed wide, not an error.
    const Layout l = Layout::compute(200000, 11520);
    QCOMPARE(l.margin, (200000LL - 11 * 495) / 2);
    QCOMPARE(l.swatches[10].left(), double(l.margin + 10 * 495));
}

void LayoutTest::placement_data()
{
    QTest::addColumn<double>("barTop");
    QTest::addColumn<double>("canvasHeight");
    QTest::addColumn<bool>("strict"); // pinned already at a one-twip gap
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("height");
    // A difference of 1 halves to 0.5, which rounds to 0: pinned at start-up.
    QTest::newRow("diff 1, T 1") << 10495.0 << 10494.0 << false << 5.0 << 10470.0;
    QTest::newRow("diff 3, T 1") << 10495.0 << 10492.0 << false << 2.0 << 10492.0;
    QTest::newRow("diff 2, T 1 keeps") << 10495.0 << 10493.0 << false << 1.0 << 10493.0;
    QTest::newRow("diff 2, T 2 pins") << 10495.0 << 10493.0 << true << 5.0 << 10470.0;
    QTest::newRow("page fits") << 10495.0 << 7230.0 << false << 1632.0 << 7230.0;
    QTest::newRow("very tall drawing") << 10495.0 << 300000.0 << true << 5.0 << 10470.0;
}

void LayoutTest::placement()
{
    QFETCH(double, barTop);
    QFETCH(double, canvasHeight);
    QFETCH(bool, strict);
    QFETCH(double, top);
    QFETCH(double, height);
    const CanvasPlacement p = CanvasPlacement::place(15360, barTop, 9630, canvasHeight,
                                                     strict ? CanvasPlacement::Pin::WithinOneTwip
                                                            : CanvasPlacement::Pin::WithoutGap);
    QCOMPARE(p.canvasLeft, 2865.0);
    QCOMPARE(p.canvasTop, top);
    QCOMPARE(p.canvasHeight, height);
    QCOMPARE(p.mascotTop, top);
    QCOMPARE(p.mascotLeft, 2865.0 + 9630 + 100);
}

void LayoutTest::tiles_data()
{
    QTest::addColumn<QSize>("tile");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("4000 x 2000") << QSize(1500, 750) << 4000.0 << 2000.0
                                 << QList<int>{0, 1500, 3000} << QList<int>{0, 750, 1500};
    QTest::newRow("bounds inclusive")
        << QSize(1500, 750) << 3000.0 << 750.0 << QList<int>{0, 1500, 3000} << QList<int>{0, 750};
    QTest::newRow("zero size steps by one")
        << QSize(0, 0) << 2.0 << 1.0 << QList<int>{0, 1, 2} << QList<int>{0, 1};
}

void LayoutTest::tiles()
{
    QFETCH(QSize, tile);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QList<int>, columns);
    QFETCH(QList<int>, rows);
    QList<QPoint> expected;
    for (int y : rows)
        for (int x : columns)
            expected.append(QPoint(x, y));
    QList<QPoint> drawn;
    Tiling::forEachTile(tile, width, height, [&](int x, int y) { drawn.append(QPoint(x, y)); });
    QCOMPARE(drawn, expected);
}

QTEST_GUILESS_MAIN(LayoutTest)
#include "LayoutTest.moc"
