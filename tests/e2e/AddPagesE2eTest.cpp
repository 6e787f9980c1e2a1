#include "core/colour/FloodFill.h"
#include "e2e/E2eHarness.h"
#include "e2e/MainWindowGeometry.h"
#include "import/GoldSet.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <unistd.h>

// `tintaro --add` run for real: drawings a parent brings become pages the
// child reaches and colours whole; anything it cannot use is refused by name
// and the book is left as it was.
class AddPagesE2eTest : public QObject {
    Q_OBJECT
private slots:
    void addedPagesColourWhole();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void bookWithoutDesktopSaysSo();
    void photographBecomesPage();
    void summaryShowsNewPage();
};

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

// Runs the copied program with `--add`; on the private display when one is
// given, else with no display at all; as "nobody" when asked and possible.
Run addPages(const E2eHarness& harness, const QStringList& files, bool unprivileged = false)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (harness.display().isEmpty())
        env.remove(QStringLiteral("DISPLAY"));
    else
        env.insert(QStringLiteral("DISPLAY"), harness.display());
    process.setProcessEnvironment(env);
    const QString program = harness.programFolder() + QStringLiteral("/tintaro");
    QStringList arguments = QStringList{QStringLiteral("--add")} + files;
    if (unprivileged) {
        arguments.prepend(program);
        arguments = QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                QStringLiteral("--clear-groups")} +
                    arguments;
        process.start(QStringLiteral("setpriv"), arguments);
    } else {
        process.start(program, arguments);
    }
    Run run;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString write(const E2eHarness& harness, const QString& name, const QByteArray& bytes)
{
    const QString path = harness.programFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// A PNG chunk's check value.
QByteArray crc32(const QByteArray& data)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    crc = ~crc;
    return QByteArray::fromHex(QByteArray::number(crc, 16).rightJustified(8, '0'));
}

QStringList pages(const E2eHarness& harness)
{
    return QDir(harness.drawingsFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Whether `part` (grey) is somewhere in `screen`, point for point.
bool shows(const QImage& screen, const QImage& part)
{
    const auto same = [&](int left, int top, int y) {
        for (int x = 0; x < part.width(); ++x) {
            if (std::abs(qGray(screen.pixel(left + x, top + y)) - part.constScanLine(y)[x]) > 2)
                return false;
        }
        return true;
    };
    for (int top = 0; top + part.height() <= screen.height(); ++top) {
        for (int left = 0; left + part.width() <= screen.width(); ++left) {
            int y = 0;
            while (y < part.height() && same(left, top, y))
                ++y;
            if (y == part.height())
                return true;
        }
    }
    return false;
}

} // namespace

void AddPagesE2eTest::addedPagesColourWhole()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startDisplay()); // the pages are sized for this screen
    const int before = int(pages(harness).size());
    const QSize drawing(800, 600);
    const QString jpeg =
        write(harness, QStringLiteral("dibujo.jpg"), GoldSet::make("jpeg75", drawing));
    const QString pdf =
        write(harness, QStringLiteral("libro.pdf"), GoldSet::make("pdf", drawing, 2));
    const Run run = addPages(harness, {jpeg, pdf});
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(run.out.count(QLatin1Char('\n')), 3);
    QVERIFY2(run.out.contains(QStringLiteral("página %1,").arg(before + 3)), qPrintable(run.out));

    QVERIFY(harness.startProgram());
    QVERIFY(harness.passIntro());
    QVERIFY(harness.waitForMainWindow() != 0);
    // Backwards from page 1: the PDF's second sheet, its first, then the JPEG.
    for (int page = before + 3; page > before; --page) {
        const QString file = harness.drawingsFolder() + QStringLiteral("/%1.gif").arg(page);
        const QImage added = QImage(file).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!added.isNull(), qPrintable(file));
        const GoldSet::Quality quality = GoldSet::measure(added);
        QCOMPARE(quality.whole, quality.areas);
        QVERIFY(harness.click(MainWindowGeometry::back().center()));
        QString why;
        QVERIFY2(harness.canvasShows(added, QStringLiteral("page-%1").arg(page), &why),
                 qPrintable(why));
        if (page == before + 2)
            continue; // a page of the same PDF: turning past it is enough
        const QPoint house = GoldSet::centres(added.size()).at(4);
        QVERIFY(harness.click(MainWindowGeometry::canvasPixel(added.size(), house)));
        QImage filled = added;
        floodFill(filled, house.x(), house.y(), rgbColour(255, 0, 0));
        QVERIFY2(harness.canvasShows(filled, QStringLiteral("page-%1-filled").arg(page), &why),
                 qPrintable(why));
    }
}

void AddPagesE2eTest::badInputIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readOnlyBook");
    QTest::addColumn<QString>("reason");
    const QByteArray png = GoldSet::make("png", QSize(200, 150));
    QTest::newRow("truncated PNG")
        << "cortado.png" << png.left(png.size() / 2) << false << "dañado";
    QByteArray noise(4096, Qt::Uninitialized);
    for (char& c : noise)
        c = char(QRandomGenerator::global()->bounded(256));
    QTest::newRow("random bytes named .pdf") << "ruido.pdf" << noise << false << "No es un dibujo";
    // A header that promises 30000 × 30000 points, and a first scrap of them.
    const QByteArray ihdr = QByteArray::fromHex("4948445200007530000075300800000000");
    const QByteArray idat = QByteArray::fromHex("49444154789c");
    QTest::newRow("30000 × 30000 PNG header")
        << "enorme.png"
        << QByteArray::fromHex("89504e470d0a1a0a0000000d") + ihdr + crc32(ihdr) +
               QByteArray::fromHex("00000002") + idat + crc32(idat)
        << false << "demasiado grande";
    QImage blank(200, 150, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QByteArray blankPng;
    QBuffer buffer(&blankPng);
    buffer.open(QIODevice::WriteOnly);
    blank.save(&buffer, "PNG");
    QTest::newRow("no closed area") << "blanco.png" << blankPng << false << "ninguna zona cerrada";
    QTest::newRow("read-only book") << "bueno.png" << png << true << "No puedo guardar";
    const QByteArray jpeg = GoldSet::make("jpeg75", QSize(200, 150));
    QTest::newRow("JPEG cut short")
        << "cortado.jpg" << jpeg.left(jpeg.size() / 2) << false << "está dañado o incompleto";
}

void AddPagesE2eTest::badInputIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readOnlyBook);
    QFETCH(QString, reason);
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    const QString path = write(harness, name, bytes);
    const QStringList before = pages(harness);
    const bool asRoot = ::geteuid() == 0;
    if (readOnlyBook) {
        if (asRoot && !harness.runProgramUnprivileged())
            E2E_SKIP_UNLESS_CI("a read-only folder binds the super-user only through setpriv");
        QVERIFY(QFile::setPermissions(harness.drawingsFolder(),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther));
    }
    const Run run = addPages(harness, {path}, readOnlyBook && asRoot);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(readOnlyBook ? QStringLiteral("dibujos") : name),
             qPrintable(run.err));
    // One Spanish line with the reason; no decoder's English around it.
    QVERIFY2(run.err.contains(reason), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    QCOMPARE(pages(harness), before);
}

// Opening the book needs a desktop: said in one line, status 1, no abort.
void AddPagesE2eTest::bookWithoutDesktopSaysSo()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    for (const QString& display : {QString(), QStringLiteral(":97")}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), display);
        process.setProcessEnvironment(env);
        process.start(harness.programFolder() + QStringLiteral("/tintaro"), QStringList{});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QStringList lines =
            QString::fromUtf8(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(QStringLiteral("escritorio gráfico")), qPrintable(lines[0]));
    }
}

// A photograph becomes a page of 12 to 150 areas; --dibujo cleans it as a
// drawing instead, and the page differs.
void AddPagesE2eTest::photographBecomesPage()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(GoldSet::photo(QSize(1600, 1200), 2).save(&buffer, "JPEG", 90));
    const QString photo = write(harness, QStringLiteral("foto.jpg"), bytes);
    const int before = int(pages(harness).size());
    const Run run = addPages(harness, {photo});
    QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(run.err));
    const QRegularExpressionMatch areas =
        QRegularExpression(QStringLiteral("(\\d+) zonas cerradas")).match(run.out);
    QVERIFY2(areas.hasMatch(), qPrintable(run.out));
    QVERIFY2(areas.captured(1).toInt() >= 12 && areas.captured(1).toInt() <= 150,
             qPrintable(run.out));
    const Run drawing = addPages(harness, {QStringLiteral("--dibujo"), photo});
    QCOMPARE(drawing.status, 0);
    QCOMPARE(int(pages(harness).size()), before + 2);
    const QString folder = harness.drawingsFolder();
    QVERIFY(QImage(folder + QStringLiteral("/%1.gif").arg(before + 1)) !=
            QImage(folder + QStringLiteral("/%1.gif").arg(before + 2)));
}

// Chosen in the file dialog, the drawing is added and the summary window
// shows the new page as the child will get it.
void AddPagesE2eTest::summaryShowsNewPage()
{
    E2eHarness harness;
    QVERIFY(harness.prepareProgramFolder());
    QVERIFY(harness.startDisplay());
    QVERIFY(!write(harness, QStringLiteral("gato.png"), GoldSet::make("png", QSize(800, 600)))
                 .isEmpty());
    const int before = int(pages(harness).size());
    QProcessEnvironment home; // the dialog opens in the folder holding the drawing
    home.insert(QStringLiteral("HOME"), harness.programFolder());
    harness.useProgram(harness.programFolder() + QStringLiteral("/tintaro"),
                       {QStringLiteral("--add")}, home);
    QVERIFY(harness.startProgram());
    // The file dialog, under the pointer in the screen's middle, takes the keys.
    QTRY_VERIFY_WITH_TIMEOUT(!harness.programWindows().isEmpty(), 10000);
    QTest::qWait(500);
    for (const char* key : {"g", "a", "t", "o", "period", "p", "n", "g", "Return"})
        QVERIFY(harness.key(QString::fromLatin1(key)));
    const QList<qulonglong> boxes = harness.waitForMessageBoxes(1, 20000);
    QVERIFY2(!boxes.isEmpty(), qPrintable(harness.describe()));
    QCOMPARE(int(pages(harness).size()), before + 1);
    const QImage page = QImage(harness.drawingsFolder() + QStringLiteral("/%1.gif").arg(before + 1))
                            .convertToFormat(QImage::Format_Grayscale8)
                            .scaled(220, 220, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QImage shot = harness.screenshot().copy(harness.windowGeometry(boxes.first()));
    QVERIFY2(shows(shot, page), qPrintable(E2eHarness::saveArtefact(shot, "summary")));
    QVERIFY(harness.closeWithReturn(boxes.first()));
    QCOMPARE(harness.waitForExit(), 0);
}

QTEST_GUILESS_MAIN(AddPagesE2eTest)
#include "AddPagesE2eTest.moc"
