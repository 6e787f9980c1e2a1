#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QtTest>

// The pages' view and the grown-ups' page keys, on the sample book with page 1
// coloured on screen (not yet on disk) and page 2 coloured in its copy. Each
// case runs steps, then checks the page the canvas shows and, when it left
// page 1, that page 1's colouring is on disk. Every opening of the view checks
// first that the pictures show both colourings.
class GalleryE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void steps_data();
    void steps();

private:
    bool opensShowingColours(E2eHarness& harness, const QString& label, QString* why) const;
    static QRect cellOnScreen(int page);

    QList<QImage> m_pages; // the sample book's drawings, page n at n - 1
    QImage m_red1;         // page 1 as the test colours it on screen
    QImage m_blue2;        // page 2 as its copy has it
};

void GalleryE2eTest::initTestCase()
{
    for (int page = 1; page <= 6; ++page) {
        m_pages.append(
            QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/%1.gif").arg(page))
                .convertToFormat(QImage::Format_RGB32));
    }
    const auto largest = [](const QImage& page) {
        return DrawingProbe::enclosedWhiteAreas(page).value(0).inside;
    };
    m_red1 = DrawingProbe::filled(m_pages[0], largest(m_pages[0]), qRgb(255, 0, 0));
    m_blue2 = DrawingProbe::filled(m_pages[1], largest(m_pages[1]), qRgb(0, 0, 255));
    QVERIFY(m_red1 != m_pages[0] && m_blue2 != m_pages[1]);
}

QRect GalleryE2eTest::cellOnScreen(int page)
{
    // At 1024 pixels across, four columns of 231 × 154 cells, 20 apart, and
    // the grid starting below the 96-pixel band.
    const int index = page - 1;
    return {20 + 251 * (index % 4), 96 + 20 + 174 * (index / 4), 231, 154};
}

bool GalleryE2eTest::opensShowingColours(E2eHarness& harness, const QString& label,
                                         QString* why) const
{
    const auto count = [](const QImage& shot, const QRect& cell, QRgb colour) {
        int found = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x)
                found += (shot.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu);
        }
        return found;
    };
    QImage shot;
    if (harness.waitForScreen(
            [&](const QImage& s) {
                return count(s, cellOnScreen(1), qRgb(255, 0, 0)) > 500 &&
                       count(s, cellOnScreen(2), qRgb(0, 0, 255)) > 500;
            },
            5000, &shot))
        return true;
    *why = QStringLiteral("%1: the pages' view does not show both colourings; screenshot %2")
               .arg(label, E2eHarness::saveArtefact(shot, label));
    return false;
}

void GalleryE2eTest::steps_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("shownPage");

    QTest::newRow("Ctrl+O, tap on page 3") << QStringList{"ctrl+o", "tap 3"} << 3;
    QTest::newRow("button, tap on page 6") << QStringList{"button", "tap 6"} << 6;
    QTest::newRow("Right turns") << QStringList{"Right"} << 2;
    QTest::newRow("Left turns back, round") << QStringList{"Left"} << 6;
    QTest::newRow("Page Down twice, Home") << QStringList{"Next", "Next", "Home"} << 1;
}

void GalleryE2eTest::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(int, shownPage);

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.writeBorraTxt("NO\r\n"));
    QVERIFY(harness.writeDrawing(QStringLiteral("2.bmp"), m_blue2));
    QVERIFY(harness.startToMainWindow());
    QString why;
    QVERIFY2(harness.canvasShows(m_pages[0], QStringLiteral("start"), &why, 8000), qPrintable(why));
    const QPoint red = DrawingProbe::enclosedWhiteAreas(m_pages[0]).value(0).inside;
    QVERIFY(harness.click(MainWindowGeometry::canvasPixel(m_pages[0].size(), red)));
    QVERIFY2(harness.canvasShows(m_red1, QStringLiteral("coloured"), &why), qPrintable(why));

    const QPoint galleryButton = MainWindowGeometry::gallery().center();
    for (const QString& step : steps) {
        if (step == QLatin1String("button"))
            QVERIFY(harness.click(galleryButton));
        else if (step.startsWith(QLatin1String("tap ")))
            QVERIFY(harness.click(cellOnScreen(step.mid(4).toInt()).center()));
        else
            QVERIFY(harness.key(step));
        if (step == QLatin1String("button") || step == QLatin1String("ctrl+o"))
            QVERIFY2(opensShowingColours(harness, QTest::currentDataTag(), &why), qPrintable(why));
    }
    const QImage expected =
        shownPage == 1 ? m_red1 : (shownPage == 2 ? m_blue2 : m_pages[shownPage - 1]);
    QVERIFY2(harness.canvasShows(expected, QStringLiteral("shown"), &why), qPrintable(why));
    if (shownPage != 1) {
        const QString copy = harness.drawingsFolder() + QStringLiteral("/1.bmp");
        QTRY_VERIFY_WITH_TIMEOUT(QImage(copy).convertToFormat(QImage::Format_RGB32) == m_red1,
                                 5000);
    }
    QVERIFY(harness.programRunning());
}

QTEST_GUILESS_MAIN(GalleryE2eTest)
#include "GalleryE2eTest.moc"
