// A process killed while it saves a coloured copy must never leave a page file
// that is cut short: each N.bmp is either absent or a whole picture.

#include "SavePattern.h"
#include "core/book/Failure.h"
#include "core/book/PictureLoader.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstring>
#include <random>

namespace {

constexpr int kPages = 4;
constexpr int kKills = 36;

// The first row that differs, or -1 when the pictures match pixel for pixel.
int firstDifferentRow(const QImage& actual, const QImage& expected)
{
    const auto bytes = static_cast<size_t>(expected.width()) * sizeof(QRgb);
    for (int y = 0; y < expected.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        if (std::memcmp(a, e, bytes) == 0)
            continue;
        // The loader may leave the unused top byte as it pleases.
        for (int x = 0; x < expected.width(); ++x) {
            if ((a[x] & 0xFFFFFFu) != (e[x] & 0xFFFFFFu))
                return y;
        }
    }
    return -1;
}

// Whether the process holds a file in `folder` open: it is writing a copy.
bool isWriting(qint64 pid, const QString& folder)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    const QStringList entries =
        fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& entry : entries) {
        if (QFileInfo(fds.filePath(entry)).symLinkTarget().startsWith(folder))
            return true;
    }
    return false;
}

} // namespace

class CrashSaveTest : public QObject {
    Q_OBJECT
private slots:
    void killedSaveLeavesWholePagesOrNone();
    void savesReachTheDiskBeforeAndAfterTheRename();
};

void CrashSaveTest::killedSaveLeavesWholePagesOrNone()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dibujos")));
    const QString folder = dir.path() + QStringLiteral("/dibujos");
    const QRegularExpression pageName(QStringLiteral("^([0-9]+)\\.bmp$"));

    std::mt19937 random(20240917u);
    std::uniform_int_distribution<int> delayMs(20, 400);
    int wholePagesSeen = 0;
    int leftovers = 0;
    int killsWhileWriting = 0;

    for (int kill = 0; kill < kKills; ++kill) {
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QStringLiteral(TINTARO_SAVE_LOOP_HELPER),
                     {folder, QString::number(kPages), QString::number(kill * 1000)});
        QVERIFY2(helper.waitForStarted(10000), qPrintable(helper.errorString()));
        QThread::msleep(static_cast<unsigned long>(delayMs(random)));
        QVERIFY2(helper.state() == QProcess::Running, "the helper stopped before it was killed");
        if (isWriting(helper.processId(), folder))
            ++killsWhileWriting;
        helper.kill(); // SIGKILL: no handler, no clean-up
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitStatus(), QProcess::CrashExit);

        const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& name : names) {
            if (name.startsWith(QLatin1Char('.'))) {
                // Where the platform cannot write a nameless file, a save cut
                // short leaves this hidden name, which is never taken for a page.
                ++leftovers;
                continue;
            }
            const QRegularExpressionMatch match = pageName.match(name);
            QVERIFY2(match.hasMatch(), qPrintable(QStringLiteral("unexpected file ") + name));
            const int page = match.captured(1).toInt();
            QVERIFY(page >= 1 && page <= kPages);

            QImage image;
            try {
                image = PictureLoader::load(folder + QLatin1Char('/') + name);
            } catch (const Failure& failure) {
                QFAIL(qPrintable(
                    QStringLiteral("after kill %1: %2").arg(kill).arg(failure.message())));
            }
            QCOMPARE(image.size(), QSize(SavePattern::kWidth, SavePattern::kHeight));
            const int generation = SavePattern::generationOf(image);
            QVERIFY(generation >= 0);
            const int row = firstDifferentRow(image, SavePattern::make(page, generation));
            QVERIFY2(row < 0, qPrintable(QStringLiteral("after kill %1, %2 differs from row %3")
                                             .arg(kill)
                                             .arg(name)
                                             .arg(row)));
            ++wholePagesSeen;
        }
        // Clear the leftovers so they do not fill the disk over the run.
        for (const QString& name : names) {
            if (name.startsWith(QLatin1Char('.')))
                QFile::remove(folder + QLatin1Char('/') + name);
        }
    }
    qInfo("%d kills, %d while a copy was being written, %d whole pages checked, %d hidden "
          "leftovers",
          kKills, killsWhileWriting, wholePagesSeen, leftovers);
    // The run only proves something if kills landed inside saves and pages
    // were there to check.
    QVERIFY(wholePagesSeen > 0);
    QVERIFY(killsWhileWriting > 0);
}

// A power cut is survived only if the bytes are on the disk before the copy
// takes its name, and the new name is on the disk before the save is done.
void CrashSaveTest::savesReachTheDiskBeforeAndAfterTheRename()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString trace = dir.filePath(QStringLiteral("trace"));
    QProcess strace;
    strace.setProcessChannelMode(QProcess::ForwardedChannels);
    strace.start(QStringLiteral("strace"),
                 {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"), trace,
                  QStringLiteral("-e"),
                  QStringLiteral("trace=fsync,fdatasync,rename,renameat,renameat2"),
                  QStringLiteral(TINTARO_SAVE_LOOP_HELPER), dir.path(), QStringLiteral("2"),
                  QStringLiteral("0"), QStringLiteral("3")});
    QVERIFY2(strace.waitForFinished(60000), "strace (Debian package strace) did not run");
    QCOMPARE(strace.exitCode(), 0);

    QFile log(trace);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QRegularExpression call(QStringLiteral("\\b(fsync|fdatasync|rename[a-z0-9]*)\\("));
    QStringList calls;
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QRegularExpressionMatch match = call.match(QString::fromUtf8(line));
        if (match.hasMatch())
            calls << (match.captured(1).startsWith(QLatin1String("rename"))
                          ? QStringLiteral("rename")
                          : QStringLiteral("sync"));
    }
    const QStringList oneSave{QStringLiteral("sync"), QStringLiteral("rename"),
                              QStringLiteral("sync")};
    QCOMPARE(calls, oneSave + oneSave + oneSave);
}

QTEST_GUILESS_MAIN(CrashSaveTest)
#include "CrashSaveTest.moc"
