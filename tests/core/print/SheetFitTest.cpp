#include "core/print/SheetFit.h"

#include <QtTest>

// A page on a sheet: whole, as large as the printable area allows, centred,
// on a sheet turned the way its shape suits.
class SheetFitTest : public QObject {
    Q_OBJECT
private slots:
    void fit_data();
    void fit();
};

void SheetFitTest::fit_data()
{
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QSizeF>("printable");
    QTest::addColumn<QRectF>("placed");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("same shape fills")
        << QSize(640, 480) << QSizeF(800, 600) << QRectF(0, 0, 800, 600) << true;
    QTest::newRow("height binds") << QSize(640, 480) << QSizeF(1000, 600)
                                  << QRectF(100, 0, 800, 600) << true;
    QTest::newRow("tall page") << QSize(300, 600) << QSizeF(600, 800) << QRectF(100, 0, 400, 800)
                               << false;
    QTest::newRow("square is portrait")
        << QSize(100, 100) << QSizeF(600, 800) << QRectF(0, 100, 600, 600) << false;
    QTest::newRow("small page grows")
        << QSize(10, 5) << QSizeF(1000, 1000) << QRectF(0, 250, 1000, 500) << true;
    QTest::newRow("empty page") << QSize(0, 0) << QSizeF(800, 600) << QRectF() << false;
}

void SheetFitTest::fit()
{
    QFETCH(QSize, page);
    QFETCH(QSizeF, printable);
    QFETCH(QRectF, placed);
    QFETCH(bool, landscape);
    QCOMPARE(SheetFit::fit(page, printable), placed);
    QCOMPARE(SheetFit::orientationFor(page) == QPageLayout::Landscape, landscape);
}

QTEST_GUILESS_MAIN(SheetFitTest)
#include "SheetFitTest.moc"
