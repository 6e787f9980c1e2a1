#include "core/book/PageBook.h"
#include "core/book/BookFolder.h"
#include "core/book/Failure.h"

#include <QtTest>

namespace {

// Pages of distinct colours, so the picture shown tells which file it came from.
QRgb pageColour(int page)
{
    return qRgb(10 * page, 100, 200);
}
const QRgb kCopyColour = qRgb(0, 200, 0);

void addPages(const BookFolder& book, int count)
{
    for (int page = 1; page <= count; ++page)
        book.addPicture(QString::number(page) + ".gif", pageColour(page));
}

QRgb shown(const QImage& picture)
{
    return picture.pixel(0, 0) | 0xFF000000u;
}

QImage coloured(QRgb colour)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class PageBookTest : public QObject {
    Q_OBJECT
private slots:
    void startUp_data();
    void startUp();
    void turns_data();
    void turns();
    void copyIsShownWhenComingBack();
    void restoreThenTurnSavesClean();
    void restoreKeepsOtherSpellings();
    void restoreWithoutDrawingKeepsCopy();
    void damagedPagesAreTurnedPast_data();
    void damagedPagesAreTurnedPast();
};

void PageBookTest::startUp_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QByteArray>("borra"); // "-" for no switch file
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<QStringList>("survivors");
    QTest::addColumn<QRgb>("firstPage");

    const QStringList three{"1.gif", "2.gif", "3.gif", "1.bmp", "2.bmp"};
    QTest::newRow("copies deleted")
        << three << QByteArray("-") << 3 << QStringList{} << pageColour(1);
    QTest::newRow("switch keeps copies")
        << three << QByteArray("no") << 3 << QStringList{"1.bmp", "2.bmp"} << kCopyColour;
    QTest::newRow("empty switch deletes")
        << three << QByteArray("") << 3 << QStringList{} << pageColour(1);
    QTest::newRow("gap ends the book")
        << QStringList{"1.gif", "2.gif", "4.gif", "4.bmp"} << QByteArray("-") << 2
        << QStringList{"4.bmp"} << pageColour(1);
    QTest::newRow("no 1.gif: copy survives and is shown")
        << QStringList{"1.bmp", "2.gif"} << QByteArray("-") << 0 << QStringList{"1.bmp"}
        << kCopyColour;
    if (BookFolder::namesAreCaseSensitive())
        QTest::newRow("1.BMP neither shown nor deleted")
            << QStringList{"1.gif", "1.BMP"} << QByteArray("-") << 1 << QStringList{"1.BMP"}
            << pageColour(1);
    // Only the hidden files of a save or an added page cut short go, whatever
    // the switch says.
    const QStringList leftovers{
        "1.gif",        ".1.bmp.a1B2c3",     ".12.bmp.ZZZZZZ",    ".1.bmp.short",    ".notes.txt",
        "1.bmp.a1B2c3", ".nuevo-x9Y8z7.gif", ".nuevo-x9Y8z7.png", "nuevo-x9Y8z7.gif"};
    QTest::newRow("unfinished work removed")
        << leftovers << QByteArray("NO") << 1
        << QStringList{".1.bmp.short", ".notes.txt", "1.bmp.a1B2c3", ".nuevo-x9Y8z7.png",
                       "nuevo-x9Y8z7.gif"}
        << pageColour(1);
    QTest::newRow("3.GIF counts as a page")
        << QStringList{"1.gif", "2.gif", "3.GIF", "4.gif"} << QByteArray("-") << 4 << QStringList{}
        << pageColour(1);
}

void PageBookTest::startUp()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArray, borra);
    QFETCH(int, pageCount);
    QFETCH(QStringList, survivors);
    QFETCH(QRgb, firstPage);

    BookFolder book;
    for (const QString& name : files) {
        const int page = name.section('.', 0, 0).toInt();
        book.addPicture(name, name.endsWith(".gif", Qt::CaseInsensitive) ? pageColour(page)
                                                                         : kCopyColour);
    }
    if (borra != "-")
        book.write("borra.txt", borra);
    // A first start's half-made book goes; a look-alike stays.
    QVERIFY(QDir(book.path()).mkpath(".dibujos-a1B2c3/sub") &&
            QDir(book.path()).mkdir(".dibujos-1"));
    book.write(".borra.txt.a1B2c3", "NO");
    book.write(".borra.txt.1", "NO");

    PageBook pages(book.path());
    pages.startUp();
    QCOMPARE(QDir(book.path()).entryList({".dibujos-*"}, QDir::Dirs | QDir::Hidden),
             QStringList{".dibujos-1"});
    QCOMPARE(QDir(book.path()).entryList({".borra.txt.*"}, QDir::Files | QDir::Hidden),
             QStringList{".borra.txt.1"});
    QCOMPARE(pages.state().pageCount, pageCount);
    QCOMPARE(pages.state().currentPage, 1);
    QCOMPARE(pages.state().pageChanged, false);
    for (const QString& name : files) {
        if (name.endsWith(".gif", Qt::CaseInsensitive) && !name.startsWith('.'))
            QVERIFY(book.exists(name));
        else
            QCOMPARE(book.exists(name), survivors.contains(name));
    }
    QCOMPARE(shown(pages.loadFirstPage()), firstPage);
}

void PageBookTest::turns_data()
{
    QTest::addColumn<int>("pageCount");
    QTest::addColumn<int>("startPage"); // reached by forward turns before the fill
    QTest::addColumn<bool>("fill");
    QTest::addColumn<QString>("presses"); // b backward, f forward
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("endPage");
    QTest::addColumn<bool>("endChanged");

    QTest::newRow("fill 3, back twice")
        << 5 << 3 << true << "bb" << QStringList{"3.bmp", "2.bmp"} << 1 << true;
    QTest::newRow("fill 3, forward twice")
        << 5 << 3 << true << "ff" << QStringList{"3.bmp"} << 5 << false;
    QTest::newRow("back then forward saves the page on show")
        << 5 << 3 << true << "bf" << QStringList{"3.bmp", "2.bmp"} << 3 << false;
    QTest::newRow("no fill writes nothing")
        << 5 << 3 << false << "bbff" << QStringList{} << 3 << false;
    QTest::newRow("wrap backward from 1") << 4 << 1 << false << "b" << QStringList{} << 4 << false;
    QTest::newRow("wrap forward from last")
        << 4 << 4 << false << "f" << QStringList{} << 1 << false;
    QTest::newRow("one page, backward")
        << 1 << 1 << true << "b" << QStringList{"1.bmp"} << 1 << true;
    QTest::newRow("one page, forward")
        << 1 << 1 << true << "f" << QStringList{"1.bmp"} << 1 << false;
    QTest::newRow("no pages stays on 1") << 0 << 1 << false << "bf" << QStringList{} << 1 << false;
}

void PageBookTest::turns()
{
    QFETCH(int, pageCount);
    QFETCH(int, startPage);
    QFETCH(bool, fill);
    QFETCH(QString, presses);
    QFETCH(QStringList, written);
    QFETCH(int, endPage);
    QFETCH(bool, endChanged);

    BookFolder book;
    addPages(book, pageCount);
    if (pageCount == 0)
        book.addPicture("1.bmp", kCopyColour);
    PageBook pages(book.path());
    pages.startUp();
    QImage canvas = pages.loadFirstPage();
    while (pages.state().currentPage != startPage)
        canvas = pages.turn(PageBook::Direction::Forward, canvas).picture;
    if (fill)
        pages.markChanged();

    for (const QChar press : presses) {
        const auto direction =
            press == 'b' ? PageBook::Direction::Backward : PageBook::Direction::Forward;
        const PageBook::Turn turn = pages.turn(direction, canvas);
        QCOMPARE(turn.direction, direction);
        QCOMPARE(turn.page, pages.state().currentPage);
        canvas = turn.picture;
    }
    QStringList found = QDir(book.path() + "/dibujos").entryList({"*.bmp"}, QDir::Files);
    if (pageCount == 0)
        found.removeOne("1.bmp");
    QCOMPARE(QSet<QString>(found.begin(), found.end()),
             QSet<QString>(written.begin(), written.end()));
    QCOMPARE(pages.state().currentPage, endPage);
    QCOMPARE(pages.state().pageChanged, endChanged);
}

void PageBookTest::copyIsShownWhenComingBack()
{
    BookFolder book;
    addPages(book, 3);
    book.addPicture("2.BMP", kCopyColour); // another spelling is never the copy
    PageBook pages(book.path());
    pages.startUp();
    pages.markChanged();
    pages.turn(PageBook::Direction::Forward, coloured(qRgb(255, 0, 0)));
    QCOMPARE(shown(pages.turn(PageBook::Direction::Forward, QImage()).picture), pageColour(3));
    pages.turn(PageBook::Direction::Forward, QImage());
    QCOMPARE(pages.state().currentPage, 1);
    pages.markChanged();
    const PageBook::Turn back = pages.turn(PageBook::Direction::Backward, coloured(qRgb(0, 0, 9)));
    QCOMPARE(shown(back.picture), pageColour(3));
    QCOMPARE(shown(pages.turn(PageBook::Direction::Forward, back.picture).picture), qRgb(0, 0, 9));
}

void PageBookTest::restoreThenTurnSavesClean()
{
    BookFolder book;
    addPages(book, 2);
    book.write("borra.txt", "NO");
    book.addPicture("1.bmp", kCopyColour);
    PageBook pages(book.path());
    pages.startUp();
    QCOMPARE(shown(pages.loadFirstPage()), kCopyColour);
    pages.markChanged();
    const QImage clean = pages.restore();
    QVERIFY(!book.exists("1.bmp"));
    QCOMPARE(shown(clean), pageColour(1));
    QCOMPARE(pages.state().pageChanged, true);
    // Restoring twice only reloads the drawing.
    QCOMPARE(shown(pages.restore()), pageColour(1));
    pages.turn(PageBook::Direction::Forward, clean);
    QVERIFY(book.exists("1.bmp"));
    QCOMPARE(shown(QImage(book.drawing("1.bmp"))), pageColour(1));
}

void PageBookTest::restoreKeepsOtherSpellings()
{
    if (!BookFolder::namesAreCaseSensitive())
        QSKIP("1.BMP and 1.bmp are one file here");
    BookFolder book;
    addPages(book, 1);
    book.addPicture("1.BMP", kCopyColour);
    PageBook pages(book.path());
    pages.startUp();
    QCOMPARE(shown(pages.restore()), pageColour(1));
    QVERIFY(book.exists("1.BMP"));
}

void PageBookTest::restoreWithoutDrawingKeepsCopy()
{
    BookFolder book;
    book.addPicture("1.bmp", kCopyColour);
    PageBook pages(book.path());
    pages.startUp();
    QVERIFY_THROWS_EXCEPTION(Failure, pages.restore());
    QVERIFY(book.exists("1.bmp"));
}

void PageBookTest::damagedPagesAreTurnedPast_data()
{
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<QRgb>("shownColour");
    QTest::addColumn<bool>("setAside");     // 2-dañado.bmp while the page is unsaved
    QTest::addColumn<bool>("savedLeaving"); // a coloured 2.bmp after leaving
    QTest::newRow("copy cut short") << "2.bmp" << pageColour(2) << true << true;
    QTest::newRow("drawing cut short") << "2.gif" << qRgb(255, 255, 255) << false << false;
}

void PageBookTest::damagedPagesAreTurnedPast()
{
    QFETCH(QString, damaged);
    BookFolder book;
    addPages(book, 3);
    book.write("borra.txt", "NO\n");
    book.write("dibujos/" + damaged, QByteArray("BM") + QByteArray(5000, 'x'));
    PageBook pages(book.path());
    pages.startUp();
    const PageBook::Turn turn = pages.turn(PageBook::Direction::Forward, QImage());
    QTEST(shown(turn.picture), "shownColour");
    QVERIFY2(turn.notice.contains(damaged), qPrintable(turn.notice));
    QTEST(book.exists("2-dañado.bmp"), "setAside");
    pages.markChanged();
    QCOMPARE(pages.turn(PageBook::Direction::Forward, coloured(kCopyColour)).notice, QString());
    QCOMPARE(pages.state().currentPage, 3);
    QTEST(book.exists("2.bmp"), "savedLeaving");
    QVERIFY(!book.exists("2-dañado.bmp"));
}

QTEST_GUILESS_MAIN(PageBookTest)
#include "PageBookTest.moc"
