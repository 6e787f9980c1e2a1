#include "e2e/E2eHarness.h"
#include "e2e/PrintServer.h"

#include <QPainter>
#include <QtTest>

namespace {

// A page of its own: a black frame, so that the sheet shows where the page
// lies, around a closed box and a bar that tell the pages apart.
QImage drawing(QSize size, QRect box)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.fillRect(image.rect().adjusted(4, 4, -4, -4), Qt::white);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(box);
    painter.fillRect(QRect(8, size.height() - 30, size.width() / 2, 10), Qt::black);
    return image;
}

// Where the sheet shows the page: inside its frame, the page's colours at a
// grid of points that lie away from any edge, and the page's shape.
QString sheetDiffers(const QImage& sheet, const QImage& page)
{
    QRect ink;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (qGray(sheet.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    const double aspect = double(page.width()) / page.height();
    if (ink.isEmpty() || std::abs(double(ink.width()) / ink.height() / aspect - 1) > 0.03)
        return QStringLiteral("page drawn at %1 x %2").arg(ink.width()).arg(ink.height());
    if ((sheet.width() > sheet.height()) != (page.width() > page.height()))
        return QStringLiteral("sheet turned the wrong way");
    for (int gy = 0; gy < 12; ++gy) {
        for (int gx = 0; gx < 16; ++gx) {
            const QPoint p((2 * gx + 1) * page.width() / 32, (2 * gy + 1) * page.height() / 24);
            if (!page.rect().contains(QRect(p - QPoint(6, 6), QSize(13, 13))))
                continue;
            bool uniform = true;
            for (int dy = -6; dy <= 6 && uniform; ++dy)
                for (int dx = -6; dx <= 6 && uniform; ++dx)
                    uniform = page.pixel(p + QPoint(dx, dy)) == page.pixel(p);
            if (!uniform)
                continue;
            const QPoint s(ink.x() + p.x() * ink.width() / page.width(),
                           ink.y() + p.y() * ink.height() / page.height());
            const QRgb want = page.pixel(p), got = sheet.pixel(s);
            if (std::abs(qRed(want) - qRed(got)) > 60 ||
                std::abs(qGreen(want) - qGreen(got)) > 60 ||
                std::abs(qBlue(want) - qBlue(got)) > 60)
                return QStringLiteral("page pixel %1,%2 is %3 on the sheet, not %4")
                    .arg(p.x())
                    .arg(p.y())
                    .arg(got, 0, 16)
                    .arg(want, 0, 16);
        }
    }
    return {};
}

} // namespace

// Printing through a real print server: Ctrl+P in the window, and the
// drawings for crayons from a terminal.
class PrintE2eTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void ctrlPPrintsTheColouredPage();
    void printFromTerminalSendsCleanDrawings();
    void printWithoutPagesAsksInTheDialog();

private:
    bool writeBook(E2eHarness& harness);

    PrintServer* m_server = nullptr;
    const QImage m_wide = drawing({320, 200}, {60, 50, 120, 90});
    const QImage m_tall = drawing({180, 260}, {30, 40, 110, 70});
    QImage m_coloured;
};

void PrintE2eTest::init()
{
    delete m_server;
    m_server = new PrintServer;
    QString why;
    if (!m_server->start(&why))
        QSKIP(qPrintable(why));
    m_coloured = m_wide;
    QPainter(&m_coloured).fillRect(QRect(62, 52, 117, 87), QColor(0, 0, 255));
}

bool PrintE2eTest::writeBook(E2eHarness& harness)
{
    // Qt writes no GIF; the program reads the pictures by their content.
    const QString dibujos = harness.drawingsFolder() + QLatin1Char('/');
    return harness.clearDrawings() && harness.writeBorraTxt("NO\r\n") &&
           m_wide.save(dibujos + "1.gif", "BMP") && m_tall.save(dibujos + "2.gif", "BMP") &&
           m_tall.save(dibujos + "3.gif", "BMP") && m_coloured.save(dibujos + "1.bmp", "BMP");
}

void PrintE2eTest::ctrlPPrintsTheColouredPage()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(writeBook(harness));
    QVERIFY(harness.startToMainWindow());
    QString why;
    QVERIFY2(harness.canvasShows(m_coloured, QStringLiteral("coloured"), &why, 8000),
             qPrintable(why));
    const qsizetype windows = harness.programWindows().size();
    QVERIFY(harness.key(QStringLiteral("ctrl+p")));
    QTRY_VERIFY_WITH_TIMEOUT(harness.programWindows().size() > windows, 10000);
    QVERIFY(harness.key(QStringLiteral("Return"))); // the dialog's Print
    const QList<QImage> sheets = m_server->waitForSheets(20000);
    QCOMPARE(sheets.size(), 1);
    why = sheetDiffers(sheets[0], m_coloured);
    QVERIFY2(why.isEmpty(), qPrintable(why + " " + E2eHarness::saveArtefact(sheets[0], "ctrl-p")));
    QVERIFY(harness.programRunning());
}

void PrintE2eTest::printFromTerminalSendsCleanDrawings()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(writeBook(harness));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY")); // a terminal with no desktop
    program.setProcessEnvironment(env);
    program.start(harness.programFolder() + "/tintaro",
                  {"--print", "1", "9", "3", "--blank", "--book", harness.programFolder()});
    QVERIFY(program.waitForFinished(30000));
    const QString said = QString::fromUtf8(program.readAllStandardOutput());
    const QString refused = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitCode(), 1); // page 9 is not in the book: refused by name
    QVERIFY2(refused.contains(QStringLiteral("«9»")), qPrintable(refused));
    QCOMPARE(said.count(QStringLiteral("Página")), 2);
    const QList<QImage> sheets = m_server->waitForSheets(20000);
    QCOMPARE(sheets.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString differs = sheetDiffers(sheets[i], i == 0 ? m_wide : m_tall);
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }
}

void PrintE2eTest::printWithoutPagesAsksInTheDialog()
{
    // The desktop menu's action: no terminal, so the dialog asks; accepted
    // as it comes, it prints every drawing of the book.
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(writeBook(harness));
    harness.useProgram(harness.programFolder() + "/tintaro",
                       {"--print", "--blank", "--book", harness.programFolder()}, {});
    QVERIFY(harness.startDisplay());
    QVERIFY(harness.startProgram());
    QTRY_VERIFY_WITH_TIMEOUT(!harness.programWindows().isEmpty(), 10000);
    QVERIFY(harness.key(QStringLiteral("Return")));
    QCOMPARE(harness.waitForExit(20000), 0);
    const QList<QImage> sheets = m_server->waitForSheets(20000);
    QCOMPARE(sheets.size(), 3);
    const QString differs = sheetDiffers(sheets[0], m_wide);
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
}

QTEST_GUILESS_MAIN(PrintE2eTest)
#include "PrintE2eTest.moc"
