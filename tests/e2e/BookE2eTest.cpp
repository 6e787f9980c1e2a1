#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtTest>

// The book as a child uses it: coloured pages are kept when the page is
// turned and come back, the eraser gives a clean page, the door leaves at
// once, and a missing wallpaper does not stop the colouring.
class BookE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void turnsKeepTheColouredPageAndEraserCleansIt();
    void missingBackgroundShowsOneMessageAndColouringGoesOn();

private:
    bool start(E2eHarness& harness);
    // Presses inside the first closed area of page 1 and waits for red.
    bool fillFirstArea(E2eHarness& harness, QString* why);

    QImage m_page1;
    QImage m_page2;
    QImage m_page1Red;
    DrawingProbe::Area m_area;
};

namespace {

using ImageCompare::difference;
using ImageCompare::rgbText;

constexpr QRgb kRed = 0xffff0000u;

QStringList colouredCopies(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.bmp"), QStringLiteral("*.BMP")},
                                  QDir::Files | QDir::Hidden);
}

// Waits for a file to appear and to hold a readable picture.
QImage waitForPicture(const QString& path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (QFileInfo(path).isFile()) {
            const QImage picture(path);
            if (!picture.isNull())
                return picture.convertToFormat(QImage::Format_RGB32);
        }
        if (deadline.hasExpired())
            return {};
        QThread::msleep(60);
    }
}

} // namespace

void BookE2eTest::initTestCase()
{
    const QString book = E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/");
    m_page1 = QImage(book + QStringLiteral("1.gif")).convertToFormat(QImage::Format_RGB32);
    m_page2 = QImage(book + QStringLiteral("2.gif")).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!m_page1.isNull() && !m_page2.isNull(), "the sample book needs pages 1 and 2");
    QCOMPARE(m_page1.size(), m_page2.size()); // one canvas place for both pages
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(m_page1);
    QVERIFY2(!areas.isEmpty(), "page 1 of the sample book needs a closed white area");
    m_area = areas.first();
    m_page1Red = DrawingProbe::filled(m_page1, m_area.inside, kRed);
}

bool BookE2eTest::start(E2eHarness& harness)
{
    if (!harness.startToMainWindow())
        return false;
    const QPoint probe = MainWindowGeometry::canvasPixel(m_page1.size(), m_area.inside);
    return harness.waitForPixel(probe, Qt::white, 8000);
}

bool BookE2eTest::fillFirstArea(E2eHarness& harness, QString* why)
{
    if (!harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_area.inside))) {
        *why = QStringLiteral("could not press on the canvas");
        return false;
    }
    return harness.canvasShows(m_page1Red, QStringLiteral("page-1-filled"), why);
}

void BookE2eTest::turnsKeepTheColouredPageAndEraserCleansIt()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY2(start(harness), qPrintable(harness.describe()));
    QString why;
    QVERIFY2(fillFirstArea(harness, &why), qPrintable(why));

    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    const QString copy = harness.drawingsFolder() + QStringLiteral("/1.bmp");
    const QImage saved = waitForPicture(copy, 5000);
    QVERIFY2(
        !saved.isNull(),
        qPrintable(
            QStringLiteral("no readable 1.bmp after forwardButton; %1").arg(harness.describe())));
    QCOMPARE(rgbText(saved.pixel(m_area.inside)), rgbText(kRed));
    QCOMPARE(difference(saved, m_page1Red), QString());
    QVERIFY2(harness.canvasShows(m_page2, QStringLiteral("page-2-after-forward"), &why),
             qPrintable(why));
    // Only the page left behind was written.
    QCOMPARE(colouredCopies(harness.drawingsFolder()), QStringList{QStringLiteral("1.bmp")});

    QVERIFY(harness.click(MainWindowGeometry::back().center()));
    QVERIFY2(harness.canvasShows(m_page1Red, QStringLiteral("page-1-after-backward"), &why),
             qPrintable(why));

    QVERIFY(harness.click(MainWindowGeometry::eraser().center()));
    QVERIFY2(harness.canvasShows(m_page1, QStringLiteral("page-1-restored"), &why),
             qPrintable(why));
    QVERIFY(!QFile::exists(copy));
    QVERIFY(harness.programRunning());
}

void BookE2eTest::missingBackgroundShowsOneMessageAndColouringGoesOn()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.removeProgramFile(QStringLiteral("fondo.gif")));
    QVERIFY(harness.startDisplay());
    QVERIFY(harness.startProgram());
    QVERIFY2(harness.passIntro(), qPrintable(harness.describe()));
    QVERIFY2(harness.waitForMainWindow() != 0, qPrintable(harness.describe()));

    const QList<qulonglong> boxes = harness.waitForMessageBoxes(1, 8000);
    QVERIFY2(boxes.size() == 1, qPrintable(harness.describe()));
    // Its own top-level window, beside the main window.
    const QList<qulonglong> windows = harness.programWindows();
    QVERIFY2(windows.contains(boxes.first()) && windows.size() == 2,
             qPrintable(harness.describe()));
    QVERIFY2(harness.closeWithReturn(boxes.first()), qPrintable(harness.describe()));

    // Closing the box uncovers the window and repaints it; the report must
    // not come back. A press on the canvas repaints it too.
    QString why;
    QVERIFY2(fillFirstArea(harness, &why), qPrintable(why));
    QThread::msleep(1500);
    QVERIFY2(harness.messageBoxes().isEmpty(),
             qPrintable(QStringLiteral("a message box came back; %1").arg(harness.describe())));
    const QByteArray line("Tintaro: No encuentro la imagen de fondo");
    int reports = 0;
    for (const QByteArray& each : harness.programStderr().split('\n'))
        if (each.startsWith(line))
            ++reports;
    QVERIFY2(reports == 1, qPrintable(QStringLiteral("%1 background reports on stderr: %2")
                                          .arg(reports)
                                          .arg(QString::fromLocal8Bit(harness.programStderr()))));
    QVERIFY(harness.programRunning());
}

QTEST_GUILESS_MAIN(BookE2eTest)
#include "BookE2eTest.moc"
