#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QFileInfo>
#include <QtTest>

// The Windows program, tintaro.exe, under Wine on a private X server, used
// as a child uses it: each row is a run of presses and what the book holds
// after it. TINTARO_PROGRAM_DIR names the Windows program folder.
class WindowsE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void book_data();
    void book();

private:
    bool act(E2eHarness& harness, const QString& step, QString* why);

    QImage m_page1;
    QImage m_page2;
    QImage m_page1Red;
    DrawingProbe::Area m_area;
};

namespace {

constexpr QRgb kRed = 0xffff0000u;

QImage copyOnDisk(const QString& path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QImage picture(path);
        if (!picture.isNull())
            return picture.convertToFormat(QImage::Format_RGB32);
        QThread::msleep(100);
    }
    return {};
}

} // namespace

void WindowsE2eTest::initTestCase()
{
    const QString book = E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/");
    QVERIFY2(QFileInfo::exists(E2eHarness::sourceProgramFolder() + QStringLiteral("/tintaro.exe")),
             "TINTARO_PROGRAM_DIR must name the Windows program folder");
    m_page1 = QImage(book + QStringLiteral("1.gif")).convertToFormat(QImage::Format_RGB32);
    m_page2 = QImage(book + QStringLiteral("2.gif")).convertToFormat(QImage::Format_RGB32);
    m_area = DrawingProbe::enclosedWhiteAreas(m_page1).first();
    m_page1Red = DrawingProbe::filled(m_page1, m_area.inside, kRed);
}

bool WindowsE2eTest::act(E2eHarness& harness, const QString& step, QString* why)
{
    const QString copy = harness.drawingsFolder() + QStringLiteral("/1.bmp");
    if (step == QLatin1String("fill")) {
        harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_area.inside));
        return harness.canvasShows(m_page1Red, QStringLiteral("windows-filled"), why);
    }
    if (step == QLatin1String("forward")) {
        harness.click(MainWindowGeometry::forward().center());
        *why = QStringLiteral("1.bmp not written red by the turn");
        const QImage saved = copyOnDisk(copy, 8000);
        return !saved.isNull() && ImageCompare::difference(saved, m_page1Red).isEmpty() &&
               harness.canvasShows(m_page2, QStringLiteral("windows-page-2"), why);
    }
    if (step == QLatin1String("back")) {
        harness.click(MainWindowGeometry::back().center());
        return harness.canvasShows(m_page1Red, QStringLiteral("windows-back"), why);
    }
    if (step == QLatin1String("eraser")) {
        harness.click(MainWindowGeometry::eraser().center());
        *why = QStringLiteral("the eraser left 1.bmp");
        return harness.canvasShows(m_page1, QStringLiteral("windows-erased"), why) &&
               !QFileInfo::exists(copy);
    }
    // The door: the program ends at once with status 0, the page kept.
    harness.click(MainWindowGeometry::door().center());
    *why = QStringLiteral("the door did not end with 0 and 1.bmp kept");
    return harness.waitForExit(15000) == 0 &&
           ImageCompare::difference(copyOnDisk(copy, 1000), m_page1Red).isEmpty();
}

void WindowsE2eTest::book_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("secondStart");
    QTest::newRow("a fill, a turn that saves, back, the eraser")
        << QStringList{"fill", "forward", "back", "eraser"} << false;
    QTest::newRow("a fill and the door keep the page") << QStringList{"fill", "door"} << false;
    QTest::newRow("a second start on an open book leaves it alone") << QStringList{"fill"} << true;
}

void WindowsE2eTest::book()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, secondStart);
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    const QString exe = harness.programFolder() + QStringLiteral("/tintaro.exe");
    harness.useProgram(QStringLiteral("wine"), {exe}, QProcessEnvironment());
    // Wine's first start in a prefix is slow; the welcome window then flashes.
    QVERIFY2(harness.startToMainWindow(), qPrintable(harness.describe()));
    QString why;
    for (const QString& step : steps)
        QVERIFY2(act(harness, step, &why), qPrintable(step + QStringLiteral(": ") + why));
    if (secondStart) {
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), harness.display());
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral("wine"), {exe});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(harness.drawingsFolder() + QStringLiteral("/1.bmp")));
        QVERIFY(harness.programRunning());
    }
}

QTEST_GUILESS_MAIN(WindowsE2eTest)
#include "WindowsE2eTest.moc"
