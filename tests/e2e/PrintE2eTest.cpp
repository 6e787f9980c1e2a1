#include "e2e/E2eHarness.h"

#include <QPainter>
#include <QtTest>

namespace {

// A private print server on a socket of its own (CUPS_SERVER names it) whose
// default printer, a raw queue, keeps each job's PDF as sent.
class PrintServer {
public:
    // The server stops with its QProcess.
    bool start(QString* why)
    {
        QDir dir(m_dir.path());
        // The device runs as the server's unprivileged user.
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
        for (const char* sub : {"spool", "log", "out", "bin/backend"})
            dir.mkpath(sub);
        QFile::setPermissions(dir.filePath("out"), QFileDevice::Permissions(0x7777));
        for (const QString& entry :
             QDir("/usr/lib/cups").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QFile::link("/usr/lib/cups/" + entry, dir.filePath("bin/" + entry));
        write("bin/backend/sheets",
              "#!/bin/sh\n[ $# -eq 0 ] && exit 0\nout=${DEVICE_URI#sheets:}\n"
              "cat \"${6:-/dev/stdin}\" > $out/.$1 && mv $out/.$1 $out/$1.pdf\n");
        QFile::setPermissions(dir.filePath("bin/backend/sheets"), QFileDevice::Permissions(0x7555));
        // Anyone may add the printer: the tests need not run as the super-user.
        write("cupsd.conf",
              "Listen %1/cups.sock\nBrowsing No\n<Location />\nAllow all\n</Location>\n"
              "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n");
        write("files.conf",
              "ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\n"
              "TempDir %1/spool\nCacheDir %1/spool\nStateDir %1/spool\n"
              "ErrorLog %1/log/error\nAccessLog %1/log/access\nPageLog %1/log/page\n");
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start("cupsd",
                      {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("files.conf")});
        qputenv("CUPS_SERVER", dir.filePath("cups.sock").toUtf8());
        QDeadlineTimer deadline(10000);
        // lpstat answers 0 either way; its words tell whether the server listens.
        while (!run("lpstat", {"-r"}, why) || !why->startsWith("scheduler is running")) {
            if (deadline.hasExpired() || m_cupsd.state() == QProcess::NotRunning) {
                *why = "cupsd (scripts/setup.sh) did not start: " + m_cupsd.errorString() + ", " +
                       *why + m_cupsd.readAll();
                return false;
            }
            QThread::msleep(100);
        }
        return true;
    }

    bool addPrinter(QString* why)
    {
        return run("lpadmin",
                   {"-p", "Hojas", "-E", "-v", "sheets:" + m_dir.filePath("out"), "-m", "raw"},
                   why) &&
               run("lpadmin", {"-d", "Hojas"}, why);
    }

    // The next job's sheets, rasterised; none when no job came in time.
    QList<QImage> waitForSheets()
    {
        QDir out(m_dir.filePath("out"));
        const QString pdf = QString::number(++m_jobs) + ".pdf";
        QString why;
        QDeadlineTimer deadline(20000);
        while (!out.exists(pdf) && !deadline.hasExpired())
            QThread::msleep(100);
        QList<QImage> sheets;
        if (!run("pdftoppm", {"-r", "40", "-png", out.filePath(pdf), out.filePath(pdf)}, &why))
            return sheets;
        for (const QString& png : out.entryList({pdf + "-*.png"}, QDir::Files, QDir::Name))
            sheets << QImage(out.filePath(png)).convertToFormat(QImage::Format_RGB32);
        return sheets;
    }

private:
    void write(const char* name, const char* text)
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(QString::fromLatin1(text).replace("%1", m_dir.path()).toUtf8());
    }

    // Runs a tool; `output` gets what it said, and why it failed.
    static bool run(const QString& program, const QStringList& arguments, QString* output)
    {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(program, arguments);
        const bool ok = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                        tool.exitCode() == 0;
        *output = ok ? QString::fromLocal8Bit(tool.readAll())
                     : program + ": " + tool.errorString() + ' ' + tool.readAll();
        return ok;
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    int m_jobs = 0;
};

// A black frame, so that the sheet shows where the page lies, around a box.
QImage drawing(QSize size, QRect box)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.fillRect(image.rect().adjusted(4, 4, -4, -4), Qt::white);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(box);
    return image;
}

// Empty when the sheet, turned the way the page's shape suits, shows the
// page whole with its shape kept and its colours.
QString sheetDiffers(const QImage& sheet, const QImage& page)
{
    QRect ink;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            ink |= qGray(sheet.pixel(x, y)) < 128 ? QRect(x, y, 1, 1) : QRect();
    const double aspect = double(page.width()) / page.height();
    if (ink.isEmpty() || std::abs(double(ink.width()) / ink.height() / aspect - 1) > 0.03 ||
        (sheet.width() > sheet.height()) != (aspect > 1)) {
        QString text;
        QDebug(&text) << "page" << page.size() << "drawn as" << ink << "on" << sheet.size();
        return text;
    }
    const QImage want = page.scaled(ink.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qsizetype off = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = want.pixel(x, y), b = sheet.pixel(ink.topLeft() + QPoint(x, y));
            off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) >
                   150;
        }
    return off * 16 > want.width() * want.height() ? QStringLiteral("%1 pixels differ").arg(off)
                                                   : QString();
}

} // namespace

// Printing through a real print server: Ctrl+P in the window, the drawings
// for crayons from a terminal, and from the menu's action without one.
class PrintE2eTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void ctrlPPrintsTheColouredPage();
    void printFromTerminalSendsCleanDrawings();
    void printWithoutPagesAsksInTheDialog();

private:
    std::unique_ptr<PrintServer> m_server;
    std::unique_ptr<E2eHarness> m_harness;
    const QImage m_wide = drawing({320, 200}, {60, 50, 120, 90});
    const QImage m_tall = drawing({180, 260}, {30, 40, 110, 70});
    QImage m_coloured = m_wide;
};

void PrintE2eTest::init()
{
    m_server = std::make_unique<PrintServer>();
    QString why;
    if (!m_server->start(&why))
        E2E_SKIP_UNLESS_CI(qPrintable(why));
    QVERIFY2(m_server->addPrinter(&why), qPrintable(why));
    m_harness = std::make_unique<E2eHarness>();
    QVERIFY(m_harness->prepareProgramFolder() && m_harness->clearDrawings());
    QPainter(&m_coloured).fillRect(QRect(62, 52, 117, 87), QColor(0, 0, 255));
    // Qt writes no GIF; the program reads pictures by their content.
    const QString dibujos = m_harness->drawingsFolder() + '/';
    QVERIFY(m_harness->writeBorraTxt("NO\r\n") && m_wide.save(dibujos + "1.gif", "BMP") &&
            m_tall.save(dibujos + "2.gif", "BMP") && m_tall.save(dibujos + "3.gif", "BMP") &&
            m_coloured.save(dibujos + "1.bmp", "BMP"));
}

void PrintE2eTest::ctrlPPrintsTheColouredPage()
{
    QString why;
    QVERIFY(m_harness->startToMainWindow());
    QVERIFY2(m_harness->canvasShows(m_coloured, "coloured", &why, 8000), qPrintable(why));
    const qsizetype windows = m_harness->programWindows().size();
    QVERIFY(m_harness->key("ctrl+p"));
    QTRY_VERIFY_WITH_TIMEOUT(m_harness->programWindows().size() > windows, 10000);
    // The dialog can show before it takes keys: its Print is pressed until it closes.
    for (QDeadlineTimer deadline(10000);
         m_harness->programWindows().size() > windows && !deadline.hasExpired();) {
        QVERIFY(m_harness->key("Return"));
        QTest::qWait(500);
    }
    const QList<QImage> sheets = m_server->waitForSheets();
    QCOMPARE(sheets.size(), 1);
    why = sheetDiffers(sheets[0], m_coloured);
    QVERIFY2(why.isEmpty(), qPrintable(why + ' ' + E2eHarness::saveArtefact(sheets[0], "ctrl-p")));
    QVERIFY(m_harness->programRunning());
}

void PrintE2eTest::printFromTerminalSendsCleanDrawings()
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY"); // a terminal with no desktop
    program.setProcessEnvironment(env);
    const QString folder = m_harness->programFolder();
    program.start(folder + "/tintaro", {"--print", "1", "9", "3", "--blank", "--book", folder});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 1); // page 9 is refused by name, the others print
    QVERIFY(program.readAllStandardError().contains("«9»"));
    QCOMPARE(program.readAllStandardOutput().count("Página"), 2);
    const QList<QImage> sheets = m_server->waitForSheets();
    QCOMPARE(sheets.size(), 2);
    QCOMPARE(sheetDiffers(sheets[0], m_wide) + sheetDiffers(sheets[1], m_tall), QString());
}

void PrintE2eTest::printWithoutPagesAsksInTheDialog()
{
    // Accepted as it comes, the dialog prints every drawing of the book.
    const QString folder = m_harness->programFolder();
    m_harness->useProgram(folder + "/tintaro", {"--print", "--blank", "--book", folder}, {});
    QVERIFY(m_harness->startDisplay() && m_harness->startProgram());
    QTRY_VERIFY_WITH_TIMEOUT(!m_harness->programWindows().isEmpty(), 10000);
    QVERIFY(m_harness->key("Return"));
    QCOMPARE(m_harness->waitForExit(20000), 0);
    const QList<QImage> sheets = m_server->waitForSheets();
    QCOMPARE(sheets.size(), 3);
    QCOMPARE(sheetDiffers(sheets[0], m_wide), QString());
}

QTEST_GUILESS_MAIN(PrintE2eTest)
#include "PrintE2eTest.moc"
