#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"

#include <QImage>
#include <QtTest>

// Taking back fills with the undo button, and redoing with the key. The
// rules of the copy on disk are the page session's, tested in the core.
class UndoE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void undoTakesBackFillsAndRedoKeyRepeats();

private:
    QImage m_page1;
    QList<DrawingProbe::Area> m_areas;
};

void UndoE2eTest::initTestCase()
{
    m_page1 = QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/1.gif"))
                  .convertToFormat(QImage::Format_RGB32);
    m_areas = DrawingProbe::enclosedWhiteAreas(m_page1);
    QVERIFY2(m_areas.size() >= 2, "page 1 of the sample book needs two closed white areas");
}

void UndoE2eTest::undoTakesBackFillsAndRedoKeyRepeats()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startToMainWindow());
    QString why;
    QVERIFY2(harness.canvasShows(m_page1, QStringLiteral("start"), &why, 8000), qPrintable(why));
    const QPoint undo = MainWindowGeometry::undo().center();
    const QImage first = DrawingProbe::filled(m_page1, m_areas[0].inside, qRgb(255, 0, 0));
    const QImage both = DrawingProbe::filled(first, m_areas[1].inside, qRgb(255, 0, 0));

    QVERIFY(harness.click(undo)); // nothing to undo yet
    QVERIFY(harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_areas[0].inside)));
    QVERIFY(harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_areas[1].inside)));
    QVERIFY2(harness.canvasShows(both, QStringLiteral("two-fills"), &why), qPrintable(why));
    QVERIFY(harness.click(undo));
    QVERIFY(harness.click(undo));
    QVERIFY2(harness.canvasShows(m_page1, QStringLiteral("both-undone"), &why), qPrintable(why));
    // A third press has nothing to take back and must leave the redo in place.
    QVERIFY(harness.click(undo));
    QVERIFY(harness.key(QStringLiteral("ctrl+y")));
    QVERIFY2(harness.canvasShows(first, QStringLiteral("redone"), &why), qPrintable(why));
    QVERIFY(harness.programRunning());
}

QTEST_GUILESS_MAIN(UndoE2eTest)
#include "UndoE2eTest.moc"
