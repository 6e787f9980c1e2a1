#include "e2e/E2eHarness.h"
#include "e2e/ImageCompare.h"
#include "e2e/MainWindowGeometry.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>
#include <fcntl.h>

// The real program killed outright while it saves large pages over and over:
// every coloured copy left behind is either absent or whole.
class CrashE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void killedWhileSavingLeavesWholeCopies();

private:
    static QImage page(int number);

    QImage m_page1Filled;
    QImage m_page2;
};

namespace {

const QSize kPageSize(2400, 1800);
const QRect kFrame(100, 100, 2200, 1600);
// Inside the frame, and on screen although the canvas is wider than it.
const QPoint kPress(1200, 300);
constexpr int kKills = 12;

// Whether the process holds a file in `folder` open for writing right now.
bool writingInto(qint64 pid, const QString& folder)
{
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        if (!QFileInfo(fds + '/' + fd).symLinkTarget().startsWith(folder))
            continue;
        QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : info.readAll().split('\n')) {
            if (line.startsWith("flags:") && (line.mid(6).trimmed().toInt(nullptr, 8) & O_ACCMODE))
                return true;
        }
    }
    return false;
}

} // namespace

QImage CrashE2eTest::page(int number)
{
    QImage image(kPageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(kFrame, Qt::black);
    painter.fillRect(kFrame.adjusted(3, 3, -3, -3), Qt::white);
    // A mark per page, so that one page is never taken for the other.
    painter.fillRect(QRect(10 + 40 * number, 10, 30, 30), Qt::black);
    return image;
}

void CrashE2eTest::initTestCase()
{
    m_page1Filled = page(1);
    QPainter(&m_page1Filled).fillRect(kFrame.adjusted(3, 3, -3, -3), QColor(255, 0, 0));
    m_page2 = page(2);
}

void CrashE2eTest::killedWhileSavingLeavesWholeCopies()
{
    QRandomGenerator random(20261208);
    int copiesChecked = 0;
    int killsWhileWriting = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        E2eHarness harness;
        QVERIFY(harness.prepareProgramFolder());
        QVERIFY(harness.clearDrawings());
        // The loader reads by content: BMP data under the drawings' names.
        QVERIFY(page(1).save(harness.drawingsFolder() + "/1.gif", "BMP"));
        QVERIFY(page(2).save(harness.drawingsFolder() + "/2.gif", "BMP"));
        QVERIFY(harness.writeBorraTxt("NO"));
        QVERIFY2(harness.startToMainWindow(), qPrintable(harness.describe()));

        const QString folder = QFileInfo(harness.drawingsFolder()).canonicalFilePath();
        const QPoint press = MainWindowGeometry::canvasPixel(kPageSize, kPress);
        QVERIFY(harness.click(press));
        QVERIFY2(harness.waitForPixel(press, Qt::red, 8000), qPrintable(harness.describe()));
        // The backward button keeps the page marked as changed, so every
        // press writes the page it leaves: 1.bmp and 2.bmp in turn.
        const QPoint backward = MainWindowGeometry::command3().center();
        // Presses go on in the background while the folder is watched.
        QProcess presser;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), harness.display());
        presser.setProcessEnvironment(environment);
        presser.start(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(backward.x()),
                       QString::number(backward.y()), QStringLiteral("click"),
                       QStringLiteral("--repeat"), QStringLiteral("40"), QStringLiteral("--delay"),
                       QStringLiteral("60"), QStringLiteral("1")});
        QVERIFY(presser.waitForStarted());
        // Skip a few saves at random so that the kill meets different ones.
        QThread::msleep(random.bounded(400));
        // Wait until a save is under way, then a little more at random, so
        // that the kill lands somewhere inside the writing.
        QDeadlineTimer deadline(3000);
        while (!deadline.hasExpired() && !writingInto(harness.programPid(), folder))
            QThread::usleep(200);
        if (!deadline.hasExpired()) {
            ++killsWhileWriting;
            QThread::usleep(random.bounded(8000));
        }
        QCOMPARE(::kill(pid_t(harness.programPid()), SIGKILL), 0);
        harness.waitForExit(5000);
        presser.kill();
        presser.waitForFinished();

        const QStringList entries =
            QDir(harness.drawingsFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : entries)
            QVERIFY2(QStringList({"1.gif", "2.gif", "1.bmp", "2.bmp"}).contains(name),
                     qPrintable("left behind: " + name));
        for (int number = 1; number <= 2; ++number) {
            const QString copy = harness.drawingsFolder() + QStringLiteral("/%1.bmp").arg(number);
            if (!QFile::exists(copy))
                continue;
            QImageReader reader(copy);
            const QImage saved = reader.read();
            QVERIFY2(!saved.isNull(), qPrintable(copy + ": " + reader.errorString()));
            const QString difference = ImageCompare::difference(
                saved.convertToFormat(QImage::Format_RGB32), number == 1 ? m_page1Filled : m_page2);
            QVERIFY2(difference.isEmpty(), qPrintable(copy + ": " + difference));
            ++copiesChecked;
        }
    }
    qInfo("%d kills, %d while writing a copy; %d coloured copies checked whole", kKills,
          killsWhileWriting, copiesChecked);
    QVERIFY(copiesChecked > 0);
    QVERIFY(killsWhileWriting >= kKills / 2);
}

QTEST_GUILESS_MAIN(CrashE2eTest)
#include "CrashE2eTest.moc"
