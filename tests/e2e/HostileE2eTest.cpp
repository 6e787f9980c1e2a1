#include "e2e/DrawingProbe.h"
#include "e2e/E2eHarness.h"
#include "e2e/HostileFolder.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtTest>

// The program in a folder that works against it: broken or enormous pictures,
// things that are not files where files belong, odd names, a folder it
// may not write and a disk with no room. Whatever happens, the child sees a
// message that names the file at fault, and the program either carries on or
// ends with status 1 once the message is closed; it never crashes, never
// hangs, and never touches a file other than the coloured copies.
class HostileE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unreadablePageIsTurnedPast();
    void emptyDrawingsFolderEndsWithMessage();
    void oddEntriesLeaveBookWorking_data();
    void oddEntriesLeaveBookWorking();
    void failedSaveKeepsColouring_data();
    void failedSaveKeepsColouring();
    void veryTallDrawingIsPinnedAndCut();

private:
    bool startToFirstPage(E2eHarness& harness, QString* why);
    bool fillFirstArea(E2eHarness& harness, QString* why);
    // A message box shows, names `dibujos/<file>` on stderr, and once closed
    // with Return the program ends with status 1.
    bool endsWithMessageNaming(E2eHarness& harness, const QString& file, QString* why,
                               int status = 1);

    QImage m_page1;
    QImage m_page2;
    QImage m_page3;
    QImage m_page1Red;
    DrawingProbe::Area m_area;
};

namespace {

using ImageCompare::difference;
using ImageCompare::rgbText;
using ImageCompare::sameColour;

constexpr QRgb kRed = 0xffff0000u;
constexpr QRgb kGreen = 0xff00ff00u;
constexpr QRgb kWhite = 0xffffffffu;
constexpr QRgb kBlack = 0xff000000u;
// A 640 × 480 page as a 24-bit BMP: 54 bytes of headers and 640 × 3 × 480.
constexpr qint64 kCopyBytes = 921654;

enum OddEntry { DirectoryNamedLikePage, ForeignNames, BorraTxtFolder, BorraTxtBinary };
enum SaveObstacle { ReadOnlyFolder, FullDisk, FolderInTheWay };

QImage samplePage(int page)
{
    return QImage(E2eHarness::sourceProgramFolder() + QStringLiteral("/dibujos/%1.gif").arg(page))
        .convertToFormat(QImage::Format_RGB32);
}

QImage flat(QSize size, QRgb colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Waits for a regular file (not a link) at `path` that holds a picture.
QImage waitForPicture(const QString& path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QFileInfo info(path);
        if (info.isFile() && !info.isSymLink()) {
            const QImage picture(path);
            if (!picture.isNull())
                return picture.convertToFormat(QImage::Format_RGB32);
        }
        if (deadline.hasExpired())
            return {};
        QThread::msleep(60);
    }
}

QStringList hiddenEntries(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString changesText(const QStringList& changes)
{
    return QStringLiteral("files changed outside the coloured copies:\n  ") +
           changes.join(QStringLiteral("\n  "));
}

} // namespace

void HostileE2eTest::initTestCase()
{
    m_page1 = samplePage(1);
    m_page2 = samplePage(2);
    m_page3 = samplePage(3);
    QVERIFY2(!m_page1.isNull() && !m_page2.isNull() && !m_page3.isNull(),
             "the sample book needs pages 1 to 3");
    QCOMPARE(m_page1.size(), QSize(640, 480));
    QCOMPARE(m_page2.size(), m_page1.size());
    QCOMPARE(m_page3.size(), m_page1.size());
    const QList<DrawingProbe::Area> areas = DrawingProbe::enclosedWhiteAreas(m_page1);
    QVERIFY2(!areas.isEmpty(), "page 1 of the sample book needs a closed white area");
    m_area = areas.first();
    m_page1Red = DrawingProbe::filled(m_page1, m_area.inside, kRed);
}

bool HostileE2eTest::startToFirstPage(E2eHarness& harness, QString* why)
{
    if (!harness.startToMainWindow()) {
        *why = QStringLiteral("no main window: ") + harness.describe();
        return false;
    }
    return harness.canvasShows(m_page1, QStringLiteral("hostile-page-1"), why, 8000);
}

bool HostileE2eTest::fillFirstArea(E2eHarness& harness, QString* why)
{
    if (!harness.click(MainWindowGeometry::canvasPixel(m_page1.size(), m_area.inside))) {
        *why = QStringLiteral("could not press on the canvas");
        return false;
    }
    return harness.canvasShows(m_page1Red, QStringLiteral("hostile-page-1-filled"), why);
}

// `status` -1: the program goes on once the box is closed.
bool HostileE2eTest::endsWithMessageNaming(E2eHarness& harness, const QString& file, QString* why,
                                           int status)
{
    const QList<qulonglong> boxes = harness.waitForMessageBoxes(1, 8000);
    if (boxes.size() != 1) {
        *why = QStringLiteral("expected one message box naming %1; screenshot %2; %3")
                   .arg(file,
                        E2eHarness::saveArtefact(harness.screenshot(),
                                                 QStringLiteral("hostile-no-message")),
                        harness.describe());
        return false;
    }
    // The box is modal: the program waits for it before ending.
    if (!harness.programRunning()) {
        *why = QStringLiteral("the program ended before its message was closed; %1")
                   .arg(harness.describe());
        return false;
    }
    const QByteArray errors = harness.programStderr();
    const QByteArray named = ("/dibujos/" + file).toUtf8();
    if (!errors.contains("Tintaro: ") || !errors.contains(named)) {
        *why = QStringLiteral("the message does not name %1; stderr: %2")
                   .arg(QString::fromUtf8(named), QString::fromLocal8Bit(errors));
        return false;
    }
    qInfo("%s", errors.mid(errors.indexOf("Tintaro: ")).trimmed().constData());
    if (!harness.closeWithReturn(boxes.first())) {
        *why = QStringLiteral("the message box would not close; %1").arg(harness.describe());
        return false;
    }
    const int ended = harness.waitForExit(status == -1 ? 1000 : 8000);
    if (ended != status) {
        *why = QStringLiteral("exit status %1 (-1: still running or killed by a signal); %2")
                   .arg(ended)
                   .arg(harness.describe());
        return false;
    }
    return true;
}

// --- A page that cannot be read -----------------------------------------------------

// The loader's refusals are tested on their own; here one refused page
// shows that a turn to it says so, sets the copy aside and lets the child on.
void HostileE2eTest::unreadablePageIsTurnedPast()
{
    // Within what the picture reader will size up, but past the page limit.
    const QString file = QStringLiteral("2.bmp");
    const QByteArray contents = HostileFolder::bmpClaiming(10000, 10000);

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    const QString path = harness.drawingsFolder() + QLatin1Char('/') + file;
    QVERIFY(HostileFolder::writeFile(path, contents));
    QVERIFY(harness.writeBorraTxt("NO\r\n"));

    QString why;
    QVERIFY2(startToFirstPage(harness, &why), qPrintable(why));
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    QVERIFY2(endsWithMessageNaming(harness, file, &why, -1), qPrintable(why));
    QVERIFY2(harness.canvasShows(m_page2, QStringLiteral("hostile-damaged-copy"), &why),
             qPrintable(why));
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    QVERIFY2(harness.canvasShows(m_page3, QStringLiteral("hostile-past-damaged"), &why),
             qPrintable(why));
    QVERIFY2(harness.messageBoxes().isEmpty(), qPrintable(harness.describe()));
    // Set aside whole, never deleted unread.
    QCOMPARE(HostileFolder::readFile(harness.drawingsFolder() + "/2-dañado.bmp"), contents);
}

void HostileE2eTest::emptyDrawingsFolderEndsWithMessage()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.clearDrawings());
    QVERIFY(harness.startDisplay());
    QVERIFY(harness.startProgram());
    QVERIFY2(harness.passIntro(), qPrintable(harness.describe()));
    QString why;
    QVERIFY2(endsWithMessageNaming(harness, QStringLiteral("1.gif"), &why), qPrintable(why));
}

// --- Entries that are not pages ---------------------------------------------------------

void HostileE2eTest::oddEntriesLeaveBookWorking_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("onePageBook");

    QTest::newRow("a folder named 2.gif ends the book at page 1")
        << int(DirectoryNamedLikePage) << true;
    QTest::newRow("ñandú.gif, '1 copia.gif' and ü.bmp beside the pages")
        << int(ForeignNames) << false;
    QTest::newRow("borra.txt is a folder") << int(BorraTxtFolder) << false;
    QTest::newRow("borra.txt is 1 MB of bytes with no line end") << int(BorraTxtBinary) << false;
}

void HostileE2eTest::oddEntriesLeaveBookWorking()
{
    QFETCH(int, entry);
    QFETCH(bool, onePageBook);

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    const QString drawings = harness.drawingsFolder();
    switch (entry) {
    case DirectoryNamedLikePage:
        // Pages 3 to 6 stay: beyond the gap they are not part of the book.
        QVERIFY(QFile::remove(drawings + QStringLiteral("/2.gif")));
        QVERIFY(QDir(drawings).mkdir(QStringLiteral("2.gif")));
        break;
    case ForeignNames:
        QVERIFY(harness.copySamplePage(3, QStringLiteral("ñandú.gif")));
        QVERIFY(harness.copySamplePage(4, QStringLiteral("1 copia.gif")));
        QVERIFY(harness.writeDrawing(QStringLiteral("ü.bmp"), flat(m_page1.size(), kGreen)));
        break;
    case BorraTxtFolder:
        QVERIFY(QDir(harness.programFolder()).mkdir(QStringLiteral("borra.txt")));
        break;
    case BorraTxtBinary:
        QVERIFY(HostileFolder::writeFile(harness.programFolder() + QStringLiteral("/borra.txt"),
                                         HostileFolder::randomBytes(1 << 20, 77)));
        break;
    }
    // A coloured copy from an earlier run: without a "NO" switch it goes.
    QVERIFY(harness.writeDrawing(QStringLiteral("1.bmp"), flat(m_page1.size(), kGreen)));
    HostileFolder folder;
    folder.watch(harness.programFolder(), true);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(harness.startDisplay());
    QVERIFY(harness.startProgram());
    QVERIFY2(harness.passIntro() && harness.waitForMainWindow() != 0,
             qPrintable(harness.describe()));
    QString why;
    QVERIFY2(harness.canvasShows(m_page1, QStringLiteral("hostile-odd-page-1"), &why, 8000),
             qPrintable(why));
    qInfo("main window with page 1 after %lld ms", clock.elapsed());
    QVERIFY2(harness.messageBoxes().isEmpty(), qPrintable(harness.describe()));
    QVERIFY2(!QFileInfo::exists(drawings + QStringLiteral("/1.bmp")),
             "the old coloured copy 1.bmp was not deleted at start-up");

    QVERIFY2(fillFirstArea(harness, &why), qPrintable(why));
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    const QImage saved = waitForPicture(drawings + QStringLiteral("/1.bmp"), 5000);
    QVERIFY2(
        !saved.isNull(),
        qPrintable(
            QStringLiteral("no 1.bmp after a fill and forwardButton; %1").arg(harness.describe())));
    QCOMPARE(difference(saved, m_page1Red), QString());
    // A book of one page turns back to page 1, shown from the copy just saved.
    QVERIFY2(harness.canvasShows(onePageBook ? m_page1Red : m_page2,
                                 QStringLiteral("hostile-odd-after-forward"), &why),
             qPrintable(why));
    QVERIFY2(harness.messageBoxes().isEmpty(), qPrintable(harness.describe()));
    QVERIFY(harness.programRunning());

    const QStringList changes = folder.changes();
    QVERIFY2(changes.isEmpty(), qPrintable(changesText(changes)));
}

// --- A save that cannot be written -------------------------------------------------------

void HostileE2eTest::failedSaveKeepsColouring_data()
{
    QTest::addColumn<int>("obstacle");

    QTest::newRow("read-only dibujos") << int(ReadOnlyFolder);
    QTest::newRow("dibujos on a full disk") << int(FullDisk);
    QTest::newRow("a folder named 1.bmp in the way") << int(FolderInTheWay);
}

void HostileE2eTest::failedSaveKeepsColouring()
{
    QFETCH(int, obstacle);

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    const QString drawings = harness.drawingsFolder();
    // Declared after the harness so it unmounts before the harness removes
    // the program folder.
    HostileFolder folder;
    if (obstacle == FullDisk) {
        if (!folder.mountSmallDisk(drawings, 600 * 1024))
            E2E_SKIP_UNLESS_CI("a small tmpfs cannot be mounted here (needs the super-user)");
        for (int page = 1; page <= 6; ++page)
            QVERIFY(harness.copySamplePage(page, QStringLiteral("%1.gif").arg(page)));
        // Some room is left, so the copy starts and the disk fills under it.
        const qint64 left =
            HostileFolder::fillDisk(drawings, QStringLiteral("relleno.dat"), 64 * 1024);
        QVERIFY2(left >= 0 && left < kCopyBytes,
                 qPrintable(QStringLiteral("%1 bytes left on the small disk").arg(left)));
    } else if (obstacle == FolderInTheWay) {
        // A folder where the copy would go cannot be replaced by a file,
        // whoever runs the program.
        QVERIFY(QDir(drawings).mkdir(QStringLiteral("1.bmp")));
    } else {
        QVERIFY(QFile::setPermissions(
            drawings, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                          QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther));
        // The super-user writes anywhere: the program then runs as a user
        // whom mode 0555 binds.
        QFile probe(drawings + QStringLiteral("/.probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            if (!harness.runProgramUnprivileged())
                E2E_SKIP_UNLESS_CI(
                    "this account writes into a folder of mode 0555 and cannot start the "
                    "program as another user");
        }
    }
    folder.watch(harness.programFolder(), true);

    QString why;
    QVERIFY2(startToFirstPage(harness, &why), qPrintable(why));
    QVERIFY2(fillFirstArea(harness, &why), qPrintable(why));
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));

    const QList<qulonglong> boxes = harness.waitForMessageBoxes(1, 8000);
    QVERIFY2(boxes.size() == 1,
             qPrintable(
                 QStringLiteral("no message box after a failed save; %1").arg(harness.describe())));
    const QByteArray errors = harness.programStderr();
    QVERIFY2(errors.contains("Tintaro: ") && errors.contains("/dibujos/1.bmp"), errors.constData());
    qInfo("%s", errors.mid(errors.indexOf("Tintaro: ")).trimmed().constData());
    QVERIFY2(harness.closeWithReturn(boxes.first()), qPrintable(harness.describe()));

    // Still page 1, still coloured, still running.
    QVERIFY2(harness.canvasShows(m_page1Red, QStringLiteral("hostile-after-failed-save"), &why),
             qPrintable(why));
    QVERIFY(harness.programRunning());
    QVERIFY2(harness.messageBoxes().isEmpty(), qPrintable(harness.describe()));
    QVERIFY2(!QFileInfo(drawings + QStringLiteral("/1.bmp")).isFile(),
             "a partial 1.bmp was left behind");
    QVERIFY2(hiddenEntries(drawings).isEmpty(),
             qPrintable(QStringLiteral("left in dibujos: %1")
                            .arg(hiddenEntries(drawings).join(QStringLiteral(", ")))));
    const QStringList changes = folder.changes();
    QVERIFY2(changes.isEmpty(), qPrintable(changesText(changes)));
}

// --- A drawing taller than the screen ----------------------------------------------------

void HostileE2eTest::veryTallDrawingIsPinnedAndCut()
{
    // Boxes 99 pixels tall stacked down a 640 × 20000 page, each closed all
    // round, so a press fills one box and nothing else.
    const QSize size(640, 20000);
    QImage tall = flat(size, kWhite);
    for (int y = 0; y < size.height(); ++y) {
        tall.setPixel(0, y, kBlack);
        tall.setPixel(size.width() - 1, y, kBlack);
        if (y % 100 == 0 || y == size.height() - 1) {
            for (int x = 0; x < size.width(); ++x)
                tall.setPixel(x, y, kBlack);
        }
    }

    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.writeBorraTxt("NO\r\n"));
    QVERIFY(harness.writeDrawing(QStringLiteral("1.bmp"), tall));
    HostileFolder folder;
    folder.watch(harness.programFolder(), true);
    QVERIFY2(harness.startToMainWindow(), qPrintable(harness.describe()));

    // Pinned at the top, cut so it ends above the colour bar at 700.
    const QRect canvas = MainWindowGeometry::canvas(size);
    const QRect inside = canvas.adjusted(1, 1, -1, -1);
    const QImage expected = tall.copy(0, 0, inside.width(), inside.height());
    auto shows = [&](const QImage& shot) {
        for (int x = canvas.left(); x <= canvas.right(); ++x) {
            if (!sameColour(shot.pixel(x, canvas.top()), kBlack) ||
                !sameColour(shot.pixel(x, canvas.bottom()), kBlack))
                return false;
        }
        return difference(shot.copy(inside), expected).isEmpty();
    };
    QImage shot;
    QVERIFY2(harness.waitForScreen(shows, 10000, &shot),
             qPrintable(QStringLiteral("tall canvas: %1; screenshot %2; %3")
                            .arg(difference(shot.copy(inside), expected),
                                 E2eHarness::saveArtefact(shot, QStringLiteral("hostile-tall")),
                                 harness.describe())));

    // A press in the second box fills it, and only it.
    const QPoint inBox = MainWindowGeometry::canvasPixel(size, QPoint(320, 150));
    const QPoint aboveBox = MainWindowGeometry::canvasPixel(size, QPoint(320, 50));
    const QPoint belowBox = MainWindowGeometry::canvasPixel(size, QPoint(320, 250));
    QVERIFY(harness.click(inBox));
    QVERIFY2(harness.waitForScreen(
                 [&](const QImage& s) {
                     return sameColour(s.pixel(inBox), kRed) &&
                            sameColour(s.pixel(aboveBox), kWhite) &&
                            sameColour(s.pixel(belowBox), kWhite);
                 },
                 5000, &shot),
             qPrintable(QStringLiteral("fill on the tall page: %1 %2 %3; %4")
                            .arg(rgbText(shot.pixel(inBox)), rgbText(shot.pixel(aboveBox)),
                                 rgbText(shot.pixel(belowBox)), harness.describe())));

    // The page turn saves the whole drawing, the part out of view included.
    QVERIFY(harness.click(MainWindowGeometry::forward().center()));
    QString why;
    QVERIFY2(harness.canvasShows(m_page2, QStringLiteral("hostile-tall-then-page-2"), &why, 8000),
             qPrintable(why));
    const QImage saved = waitForPicture(harness.drawingsFolder() + QStringLiteral("/1.bmp"), 5000);
    QCOMPARE(saved.size(), size);
    QCOMPARE(rgbText(saved.pixel(320, 150)), rgbText(kRed));
    QCOMPARE(rgbText(saved.pixel(320, 50)), rgbText(kWhite));
    QCOMPARE(rgbText(saved.pixel(320, 19950)), rgbText(kWhite));
    QCOMPARE(rgbText(saved.pixel(0, 19950)), rgbText(kBlack));
    QVERIFY2(harness.messageBoxes().isEmpty(), qPrintable(harness.describe()));
    QVERIFY(harness.programRunning());

    const QStringList changes = folder.changes();
    QVERIFY2(changes.isEmpty(), qPrintable(changesText(changes)));
}

QTEST_GUILESS_MAIN(HostileE2eTest)
#include "HostileE2eTest.moc"
