#include "core/book/BookFolder.h"
#include "core/book/Failure.h"
#include "core/book/PageBook.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// What the book does that is tested on Linux only: the mode of a coloured
// copy, a book whose folder cannot be written, a full disk (a file-size
// limit) and a copy that is a link, which are POSIX rules, and a book of
// 32,767 drawings, the same code everywhere, whose files Wine takes many
// minutes to make in one folder.
class PageBookUnixTest : public QObject {
    Q_OBJECT
private slots:
    void copyFollowsUmask_data();
    void copyFollowsUmask();
    void readOnlyBookStillOpens();
    void tooManyPages();
    void fullDiskKeepsTheCopy();
    void linkedCopyIsNeverFollowed_data();
    void linkedCopyIsNeverFollowed();
};

namespace {

const QRgb kCopyColour = qRgb(0, 200, 0);

QImage coloured(QRgb colour)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

void PageBookUnixTest::readOnlyBookStillOpens()
{
    BookFolder book;
    book.addPicture("1.gif", qRgb(10, 100, 200));
    book.addPicture("2.gif", qRgb(20, 100, 200));
    book.addPicture("1.bmp", kCopyColour);
    const QString folder = book.path() + "/dibujos";
    // The super-user deletes from a read-only folder, not from an immutable one.
    const bool locked = getuid() == 0 ? QProcess::execute("chattr", {"+i", folder}) == 0
                                      : chmod(qPrintable(folder), 0555) == 0;
    QVERIFY2(locked, "the folder cannot be made read-only");
    PageBook pages(book.path());
    QString notice;
    pages.startUp();
    const QImage first = pages.loadFirstPage(&notice);
    getuid() == 0 ? QProcess::execute("chattr", {"-i", folder}) : chmod(qPrintable(folder), 0755);
    QVERIFY2(pages.startUpNotice().contains("no puede guardar"), qPrintable(pages.startUpNotice()));
    QCOMPARE(first.pixel(0, 0) | 0xFF000000u, kCopyColour);
    QCOMPARE(pages.state().pageCount, 2);
}

void PageBookUnixTest::copyFollowsUmask_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode");
    QTest::newRow("022") << 022 << 0644;
    QTest::newRow("077") << 077 << 0600;
    QTest::newRow("002") << 002 << 0664;
}

void PageBookUnixTest::copyFollowsUmask()
{
    QFETCH(int, umask);
    QFETCH(int, mode);
    BookFolder book;
    const mode_t saved = ::umask(static_cast<mode_t>(umask));
    PageBook::saveCopy(coloured(qRgb(255, 0, 0)), book.drawing("1.bmp"));
    ::umask(saved);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(book.drawing("1.bmp")).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 0777), mode);
}

void PageBookUnixTest::tooManyPages()
{
    // Empty files stand in for drawings: counting only asks whether they exist.
    BookFolder book;
    for (int page = 1; page <= PageBook::kPageLimit; ++page)
        book.write("dibujos/" + QString::number(page) + ".gif", {});
    PageBook pages(book.path());
    try {
        pages.startUp();
        QFAIL("a 32,767th drawing must be refused");
    } catch (const Failure& failure) {
        QVERIFY(failure.reason().contains("demasiados"));
    }
    QFile::remove(book.drawing(QString::number(PageBook::kPageLimit) + ".gif"));
    pages.startUp();
    QCOMPARE(pages.state().pageCount, PageBook::kPageLimit - 1);
}

void PageBookUnixTest::fullDiskKeepsTheCopy()
{
    // A file-size limit fails the write part-way, as a full disk does.
    BookFolder book;
    book.addPicture("1.bmp", kCopyColour);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        PageBook::saveCopy(QImage(200, 200, QImage::Format_RGB32), book.drawing("1.bmp"));
    } catch (const SaveFailure& failure) {
        message = failure.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    QVERIFY2(message.contains("1.bmp"), qPrintable(message));
    QCOMPARE(QImage(book.drawing("1.bmp")).pixel(0, 0) | 0xFF000000u, kCopyColour);
    QCOMPARE(QDir(book.path() + "/dibujos").entryList(QDir::Files | QDir::Hidden),
             QStringList{"1.bmp"});
}

void PageBookUnixTest::linkedCopyIsNeverFollowed_data()
{
    QTest::addColumn<bool>("keepCopies");
    QTest::newRow("start-up deletes the link, not its target") << false;
    QTest::newRow("saving replaces the link, not its target") << true;
}

void PageBookUnixTest::linkedCopyIsNeverFollowed()
{
    QFETCH(bool, keepCopies);
    QTemporaryDir outside;
    const QString target = outside.filePath("ajeno.bmp");
    QVERIFY(coloured(kCopyColour).save(target, "BMP"));
    BookFolder book;
    book.addPicture("1.gif", qRgb(255, 255, 255));
    const QString link = book.drawing("1.bmp");
    QVERIFY(QFile::link(target, link));
    if (keepCopies)
        book.write("borra.txt", "NO\r\n");
    PageBook pages(book.path());
    pages.startUp();
    QString notice;
    const QImage first = pages.loadFirstPage(&notice);
    if (keepCopies) {
        // Shown is what the link leads to; the save puts a file in its place.
        QCOMPARE(first.pixel(0, 0) | 0xFF000000u, kCopyColour);
        PageBook::saveCopy(coloured(qRgb(255, 0, 0)), link);
        QCOMPARE(QImage(link).pixel(0, 0) | 0xFF000000u, qRgb(255, 0, 0));
    }
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo::exists(link), keepCopies);
    QCOMPARE(QImage(target).pixel(0, 0) | 0xFF000000u, kCopyColour);
}

QTEST_GUILESS_MAIN(PageBookUnixTest)
#include "PageBookUnixTest.moc"
