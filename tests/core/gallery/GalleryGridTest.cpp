#include "core/gallery/GalleryGrid.h"
#include "core/gallery/PagePictures.h"

#include <QtTest>

// The pages' view's arithmetic, worked out by hand for each window: columns and
// cells, the pages a scroll shows, the page under a point, the scroll that shows
// a page, and the bound of the kept pictures, which the cache then holds to.
class GalleryGridTest : public QObject {
    Q_OBJECT
private slots:
    void grid_data();
    void grid();
};

void GalleryGridTest::grid_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("pages");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("pageAtPoint");
    QTest::addColumn<int>("showPage");
    QTest::addColumn<int>("showScroll");
    QTest::addColumn<int>("kept");

    // 1024 × 768: four cells of 231 (20 around), rows 174 apart below a 96 band.
    QTest::newRow("1024, top") << QSize(1024, 768) << 1000 << 1.0 << 0 << QSize(231, 154) << 4 << 1
                               << 16 << QPoint(276, 199) << 6 << 1 << 0 << 60;
    QTest::newRow("1024, rows cut at both edges")
        << QSize(1024, 768) << 1000 << 1.0 << 1000 << QSize(231, 154) << 4 << 21 << 40
        << QPoint(256, 30) << 0 << 500 << 21576 << 60;
    QTest::newRow("1024, last page scrolls to the end")
        << QSize(1024, 768) << 1000 << 1.0 << 42848 << QSize(231, 154) << 4 << 985 << 1000
        << QPoint(20, 20 + 249 * 174) << 997 << 1000 << 42848 << 60;
    QTest::newRow("short book") << QSize(1024, 768) << 6 << 1.0 << 0 << QSize(231, 154) << 4 << 1
                                << 6 << QPoint(20 + 3 * 251, 20 + 174) << 0 << 6 << 0 << 60;
    // 1920 × 1080 at its zoom: 281 at least, 28 around, a 135 band.
    QTest::newRow("1920, zoomed") << QSize(1920, 1080) << 1000 << 1.40625 << 0 << QSize(287, 191)
                                  << 6 << 1 << 30 << QPoint(28 + 5 * 315 + 286, 28 + 190) << 6 << 30
                                  << 876 << 108;
    QTest::newRow("narrower than a cell")
        << QSize(150, 500) << 3 << 1.0 << 0 << QSize(200, 133) << 1 << 1 << 3
        << QPoint(30, 20 + 153 + 5) << 2 << 3 << 75 << 48;
}

void GalleryGridTest::grid()
{
    QFETCH(QSize, window);
    QFETCH(int, pages);
    QFETCH(double, zoom);
    QFETCH(int, scroll);
    QFETCH(QSize, cell);
    QFETCH(int, columns);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QPoint, point);
    QFETCH(int, pageAtPoint);
    QFETCH(int, showPage);
    QFETCH(int, showScroll);
    QFETCH(int, kept);

    const GalleryGrid grid(window, pages, zoom);
    QCOMPARE(grid.cellSize(), cell);
    QCOMPARE(grid.columns(), columns);
    QCOMPARE(grid.visible(scroll).first, first);
    QCOMPARE(grid.visible(scroll).last, last);
    QCOMPARE(grid.pageAt(point), pageAtPoint);
    QCOMPARE(grid.scrollShowing(showPage), showScroll);
    QCOMPARE(grid.cachedPictures(), kept);

    // Every page made once, in order: the cache holds the bound, the latest.
    PagePictures pictures(grid.cachedPictures());
    for (int page = 1; page <= pages; ++page)
        pictures.cache(page, QImage(2, 2, QImage::Format_RGB32));
    QCOMPARE(pictures.count(), std::min(pages, kept));
    QVERIFY(pictures.find(pages));
    QCOMPARE(pictures.find(1) != nullptr, pages <= kept);
}

QTEST_GUILESS_MAIN(GalleryGridTest)
#include "GalleryGridTest.moc"
