#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QtTest>
#include <csignal>

// Nothing on screen is lost: not to a second start on the open book, nor to
// the program's end however it comes.
class NothingLostE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void laterStartLeavesOpenBookAlone();
    void fillKeptAtTheEnd_data();
    void fillKeptAtTheEnd();

private:
    bool copyIsRed(const E2eHarness& harness) const
    {
        const QImage copy(harness.drawingsFolder() + QStringLiteral("/1.bmp"));
        return copy.convertToFormat(QImage::Format_RGB32) == m_red;
    }

    QImage m_page1;
    QImage m_red;
    QPoint m_area;
};

void NothingLostE2eTest::initTestCase()
{
    m_page1 = QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/1.gif"))
                  .convertToFormat(QImage::Format_RGB32);
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(m_page1);
    QVERIFY2(!areas.isEmpty(), "page 1 of the sample book needs a closed white area");
    m_area = areas[0].inside;
    m_red = DrawingProbe::filled(m_page1, m_area, qRgb(255, 0, 0));
}

void NothingLostE2eTest::laterStartLeavesOpenBookAlone()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.writeBorraTxt("NO\r\n"));
    QVERIFY(harness.writeDrawing(QStringLiteral("1.bmp"), m_red));
    QVERIFY(harness.startToMainWindow());
    // Without the switch file, a start-up would delete the coloured copy.
    QVERIFY(harness.removeProgramFile(QStringLiteral("borra.txt")));
    const QList<qulonglong> windows = harness.titledWindows();

    QProcess later;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), harness.display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    later.setProcessEnvironment(env);
    // The same book by another path.
    later.start(harness.programFolder() + QStringLiteral("/tintaro"),
                {QStringLiteral("--book"), harness.drawingsFolder() + QStringLiteral("/..")});
    QVERIFY2(later.waitForFinished(5000), "a later start on the open book did not end in 5 s");
    QVERIFY2(later.exitStatus() == QProcess::NormalExit && later.exitCode() == 0,
             later.readAllStandardError().constData());
    QCOMPARE(harness.titledWindows(), windows);
    QVERIFY(harness.programRunning() && copyIsRed(harness));
}

void NothingLostE2eTest::fillKeptAtTheEnd_data()
{
    QTest::addColumn<QList<QPoint>>("presses"); // after the fill; the canvas then shows it
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<int>("signal"); // 0: the door ends the program
    QTest::addColumn<int>("status"); // -1: killed
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("SIGTERM a second after")
        << QList<QPoint>() << 1000 << int(SIGTERM) << 0 << QStringList();
    QTest::newRow("SIGTERM soon after, child lock on")
        << QList<QPoint>() << 300 << int(SIGTERM) << 0 << QStringList{"--candado"};
    QTest::newRow("kill -9 three seconds after")
        << QList<QPoint>() << 3000 << int(SIGKILL) << -1 << QStringList();
    QTest::newRow("door right after") << QList<QPoint>() << 0 << 0 << 0 << QStringList();
    QTest::newRow("eraser, forward, back, undo")
        << QList<QPoint>{MainWindowGeometry::eraser().center(),
                         MainWindowGeometry::forward().center(),
                         MainWindowGeometry::back().center(), MainWindowGeometry::undo().center()}
        << 0 << 0 << 0 << QStringList();
}

void NothingLostE2eTest::fillKeptAtTheEnd()
{
    QFETCH(QList<QPoint>, presses);
    QFETCH(int, afterMs);
    QFETCH(int, signal);
    QFETCH(int, status);
    QFETCH(QStringList, arguments);
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.writeBorraTxt("NO\r\n"));
    harness.useProgram(harness.programFolder() + QStringLiteral("/tintaro"), arguments, {});
    QVERIFY(harness.startToMainWindow());
    QString why;
    QVERIFY2(harness.canvasShows(m_page1, QStringLiteral("start"), &why, 8000), qPrintable(why));

    QVERIFY(harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_area)));
    for (const QPoint& press : presses) {
        QVERIFY(harness.click(press));
        QTest::qWait(300);
    }
    if (!presses.isEmpty())
        QVERIFY2(harness.canvasShows(m_red, QStringLiteral("brought-back"), &why), qPrintable(why));
    QTest::qWait(afterMs);
    if (signal)
        QCOMPARE(::kill(pid_t(harness.programPid()), signal), 0);
    else
        QVERIFY(harness.click(MainWindowGeometry::door().center()));
    QCOMPARE(harness.waitForExit(), status);
    QVERIFY(copyIsRed(harness));
}

QTEST_GUILESS_MAIN(NothingLostE2eTest)
#include "NothingLostE2eTest.moc"
