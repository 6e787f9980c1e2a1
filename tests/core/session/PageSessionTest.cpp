#include "core/session/PageSession.h"
#include "core/book/BookFolder.h"
#include "core/session/CopyWriter.h"
#include "core/session/PageHistories.h"

#include <QPainter>
#include <QtTest>

namespace {

constexpr QPoint kInside(8, 6);

// A ring page: a black outline round a white middle.
void addRingPage(const BookFolder& book, const QString& name)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(2, 2, 12, 8, Qt::white);
    image.save(book.drawing(name), "BMP");
}

QString colourText(QRgb rgb)
{
    return (rgb | 0xFF000000u) == 0xFFFF0000u ? QStringLiteral("red") : QStringLiteral("white");
}

QString copyOnDisk(const BookFolder& book)
{
    if (!book.exists(QStringLiteral("1.bmp")))
        return QStringLiteral("none");
    return colourText(QImage(book.drawing(QStringLiteral("1.bmp"))).pixel(kInside));
}

void act(PageSession& session, QChar action)
{
    switch (action.toLatin1()) {
    case 'f':
        session.fillAt(kInside);
        break;
    case 'e':
        session.erase();
        break;
    case 'u':
        session.undo();
        break;
    case 'r':
        session.redo();
        break;
    case '>':
        session.turn(PageSession::Direction::Forward);
        break;
    case '<':
        session.turn(PageSession::Direction::Backward);
        break;
    case 'b':
        session.saveInBackground();
        break;
    case 'k':
        session.saveNow();
        break;
    case 'g':
        session.goToPage(2);
        break;
    default:
        QFAIL("unknown action");
    }
}

} // namespace

class PageSessionTest : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void historiesKeepTheLatestWithinTheirBound();
    void copyWriter_data();
    void copyWriter();
};

namespace {

void spoil(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("GIF89a, cut short");
}

} // namespace

void PageSessionTest::rules_data()
{
    // f fill, e eraser, u undo, r redo, > < turns, g go to page 2, b save in
    // the background, k save now. The copy is read once the session is gone.
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("canUndo");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("copy");
    QTest::newRow("a fill marks the page") << "f" << 1 << "red" << true << true << "none";
    QTest::newRow("a turn saves; back, it still undoes")
        << "f><" << 1 << "red" << true << false << "red";
    QTest::newRow("going to a page saves like a turn")
        << "fg" << 2 << "white" << false << false << "red";
    QTest::newRow("the eraser deletes the copy")
        << "f><e" << 1 << "white" << true << false << "none";
    QTest::newRow("eraser, away and back, undo") << "fe><u" << 1 << "red" << true << true << "red";
    QTest::newRow("redoing the eraser deletes again")
        << "fe><ur" << 1 << "white" << true << true << "none";
    QTest::newRow("undo of a fill") << "ffu" << 1 << "white" << false << true << "none";
    QTest::newRow("saving now") << "fk" << 1 << "red" << true << true << "red";
    QTest::newRow("saving in the background") << "fb" << 1 << "red" << true << true << "red";
    QTest::newRow("eraser after a background save")
        << "fbe" << 1 << "white" << true << true << "none";
    QTest::newRow("nothing to save after the eraser")
        << "fbek" << 1 << "white" << true << true << "none";
    // d: the copy deleted by hand; x: the drawing spoilt by hand.
    QTest::newRow("the door writes a deleted copy again")
        << "fbkdk" << 1 << "red" << true << true << "red";
    QTest::newRow("the eraser on a spoilt drawing keeps the coloured page")
        << "fkxe" << 1 << "red" << true << true << "red";
}

void PageSessionTest::rules()
{
    QFETCH(QString, actions);
    BookFolder book;
    addRingPage(book, QStringLiteral("1.gif"));
    addRingPage(book, QStringLiteral("2.gif"));
    {
        PageSession session(book.path());
        session.startUp();
        for (const QChar action : actions) {
            if (action == 'd')
                QFile::remove(book.drawing(QStringLiteral("1.bmp")));
            else if (action == 'x')
                spoil(book.drawing(QStringLiteral("1.gif")));
            else
                act(session, action);
        }
        QTEST(session.state().currentPage, "page");
        QTEST(colourText(session.page().pixel(kInside)), "shown");
        QTEST(session.canUndo(), "canUndo");
        QTEST(session.state().pageChanged, "changed");
    }
    QTEST(copyOnDisk(book), "copy");
}

void PageSessionTest::historiesKeepTheLatestWithinTheirBound()
{
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    const auto filled = [&page] {
        UndoHistory history;
        QImage image = page;
        history.fill(image, 0, 0, rgbColour(255, 0, 0));
        return history;
    };
    // Room for two pages' histories with their pictures, not three.
    PageHistories histories(2 * page.sizeInBytes() + 4096);
    for (int p = 1; p <= 3; ++p)
        histories.store(p, filled(), page);
    QCOMPARE(histories.pageCount(), 2);
    QVERIFY(!histories.take(1, page).canUndo()); // left longest ago: dropped
    QImage changed = page.copy();
    changed.setPixel(5, 5, qRgb(0, 0, 255));
    QVERIFY(!histories.take(2, changed).canUndo()); // came back different
    QVERIFY(histories.take(3, page).canUndo());
    QCOMPARE(histories.bytes(), 0);
}

void PageSessionTest::copyWriter_data()
{
    QTest::addColumn<QString>("folder"); // inside the book
    QTest::addColumn<bool>("fails");
    QTest::newRow("writes wait their turn; the later stands") << "dibujos" << false;
    QTest::newRow("a folder that is gone is told") << "ya-no-está" << true;
}

void PageSessionTest::copyWriter()
{
    QFETCH(QString, folder);
    QFETCH(bool, fails);
    BookFolder book;
    const QString path = book.path() + '/' + folder + QStringLiteral("/1.bmp");
    QImage page(16, 12, QImage::Format_RGB32);
    CopyWriter writer;
    page.fill(Qt::red);
    writer.write(page, path);
    page.fill(Qt::blue);
    writer.write(page, path);
    const std::optional<QString> failure = writer.wait();
    QCOMPARE(failure.has_value(), fails);
    if (fails)
        QVERIFY2(failure->contains(QDir::toNativeSeparators(path)) &&
                     failure->contains(QStringLiteral("la carpeta ya no está")),
                 qPrintable(*failure));
    else
        QCOMPARE(QImage(path).pixel(0, 0), qRgb(0, 0, 255));
}

QTEST_GUILESS_MAIN(PageSessionTest)
#include "PageSessionTest.moc"
