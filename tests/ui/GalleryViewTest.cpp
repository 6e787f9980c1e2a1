#include "ui/GalleryView.h"
#include "core/book/BookFolder.h"
#include "core/session/PageSession.h"

#include <QtTest>

// The pages' view over a 1024 × 768 window, on a book of 24 pages: four
// columns of 231 × 154 cells, 20 pixels apart, below a 96-pixel band. A tap
// chooses the page under it; a drag, Esc and the page keys choose nothing.
class GalleryViewTest : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
};

void GalleryViewTest::steps_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("chosen"); // 0: none
    QTest::addColumn<bool>("open");
    QTest::newRow("tap on page 3") << QStringList{"tap 637,97"} << 3 << false;
    QTest::newRow("tap on page 6, second row") << QStringList{"tap 386,271"} << 6 << false;
    QTest::newRow("tap between pages") << QStringList{"tap 261,97"} << 0 << true;
    QTest::newRow("a drag chooses nothing") << QStringList{"drag 135,97"} << 0 << true;
    QTest::newRow("Esc closes, nothing chosen") << QStringList{"Esc"} << 0 << false;
    QTest::newRow("page keys scroll, choose nothing")
        << QStringList{"PgDown", "Right", "End"} << 0 << true;
    // Six rows 174 apart from 20 are 1064 high; Page Down scrolls to the end,
    // 1064 − 672 = 392, where y 97 is content 489: the third row.
    QTest::newRow("a tap after Page Down") << QStringList{"PgDown", "tap 135,97"} << 9 << false;
}

void GalleryViewTest::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(int, chosen);
    BookFolder book;
    for (int page = 1; page <= 24; ++page)
        book.addPicture(QString::number(page) + ".gif", qRgb(255, 255, 255), {64, 48});
    PageSession session(book.path());
    session.startUp();
    QWidget window;
    window.resize(1024, 768);
    GalleryView view(DisplayZoom(), &window);
    int picked = 0;
    connect(&view, &GalleryView::pageChosen, [&picked](int page) { picked = page; });
    window.show();
    view.open(session);
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    for (const QString& step : steps) {
        const QStringList at = step.section(' ', 1).split(',');
        const QPoint point(at.value(0).toInt(), at.value(1).toInt());
        if (step.startsWith("tap ")) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
        } else if (step.startsWith("drag ")) {
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, point);
            for (int dy = 20; dy <= 120; dy += 20)
                QTest::mouseMove(view.viewport(), point + QPoint(0, dy), 10);
            QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, point + QPoint(0, 120));
        } else {
            QTest::keyClick(&view, QKeySequence(step)[0].key());
        }
    }
    QCOMPARE(picked, chosen);
    QTEST(view.isVisible(), "open");
}

QTEST_MAIN(GalleryViewTest)
#include "GalleryViewTest.moc"
