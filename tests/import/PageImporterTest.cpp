#include "import/PageImporter.h"
#include "import/GoldSet.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

// Adding to a real book folder: every file and sheet is tried, numbers go to
// the free places, nothing there is touched, and the message says why.
class PageImporterTest : public QObject {
    Q_OBJECT
private slots:
    void filesGoToFreeNumbers_data();
    void filesGoToFreeNumbers();
    void svgKeepsItsOwnUnits();
};

namespace {

constexpr QSize kPage(200, 150);

class Lines : public PageImporter::Listener {
public:
    void added(const QString& line) override { text += line + u'\n'; }
    void refused(const QString& line) override { text += line + u'\n'; }
    QString text;
};

// Three sheets, the middle one blank: nothing on it to colour.
QByteArray pdfWithBlankSheet()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QSizeF(kPage), QPageSize::Point));
    pdf.setPageMargins({});
    pdf.setResolution(72);
    QPainter p(&pdf);
    const QImage drawing = QImage::fromData(GoldSet::make("png", kPage));
    p.drawImage(0, 0, drawing);
    pdf.newPage();
    pdf.newPage();
    p.drawImage(0, 0, drawing);
    p.end();
    return bytes;
}

QByteArray pngSaying(const QString& comment)
{
    QImage image = QImage::fromData(GoldSet::make("png", kPage));
    image.setText(QStringLiteral("Comment"), comment);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A drawing whose only closed area is a dot too small to colour.
QByteArray tinyRing()
{
    QImage image(kPage, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPointF(100, 75), 5, 5);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QStringList pagesIn(const QString& book)
{
    return QDir(book + QStringLiteral("/dibujos"))
        .entryList({QStringLiteral("*.gif")}, QDir::Files);
}

} // namespace

void PageImporterTest::filesGoToFreeNumbers_data()
{
    QTest::addColumn<QList<int>>("existing");
    QTest::addColumn<QList<QByteArray>>("files"); // an empty one is missing
    QTest::addColumn<QStringList>("pages");       // the book's drawings afterwards
    QTest::addColumn<QStringList>("said");        // parts of the messages
    QTest::addColumn<int>("umask");               // new pages get 0666 less it
    const QByteArray png = GoldSet::make("png", kPage);
    QTest::newRow("gap filled first, then after the last")
        << QList<int>{1, 2, 4} << QList<QByteArray>{png, png}
        << QStringList{"1.gif", "2.gif", "3.gif", "4.gif", "5.gif"}
        << QStringList{"página 3", "la página 4, que ya estaba", "página 5"} << 022;
    QTest::newRow("every file tried after a missing one")
        << QList<int>{} << QList<QByteArray>{QByteArray(), png} << QStringList{"1.gif"}
        << QStringList{"No encuentro el archivo", "página 1"} << 077;
    QTest::newRow("PDF signature only inside a PNG")
        << QList<int>{} << QList<QByteArray>{pngSaying(QStringLiteral("%PDF-1.4"))}
        << QStringList{"1.gif"} << QStringList{"página 1"} << 002;
    QTest::newRow("PDF with a sheet it cannot add")
        << QList<int>{} << QList<QByteArray>{pdfWithBlankSheet()} << QStringList{"1.gif", "2.gif"}
        << QStringList{"hoja 1 de 3): página 1", "hoja 3 de 3): página 2",
                       "añadido 2 de 3 hojas; no la hoja 2"}
        << 027;
    // Decoded "successfully" with its lower half blank.
    const QByteArray jpeg = GoldSet::make("jpeg75", kPage);
    QTest::newRow("JPEG cut short") << QList<int>{} << QList<QByteArray>{jpeg.left(jpeg.size() / 2)}
                                    << QStringList{} << QStringList{"dañado o incompleto"} << 022;
    QTest::newRow("nothing but a dot to colour")
        << QList<int>{} << QList<QByteArray>{tinyRing()} << QStringList{}
        << QStringList{"ninguna zona llega al 0,5 %"} << 022;
}

void PageImporterTest::filesGoToFreeNumbers()
{
    QFETCH(QList<int>, existing);
    QFETCH(QList<QByteArray>, files);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, said);
    QFETCH(int, umask);
    QTemporaryDir book;
    QVERIFY(QDir(book.path()).mkdir(QStringLiteral("dibujos")));
    for (const int page : existing) {
        QFile old(book.filePath(QStringLiteral("dibujos/%1.gif").arg(page)));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("mine") == 4);
    }
    QStringList paths;
    for (int i = 0; i < files.size(); ++i) {
        paths << book.filePath(QStringLiteral("dibujo%1").arg(i));
        QFile file(paths.last());
        QVERIFY(files[i].isEmpty() ||
                (file.open(QIODevice::WriteOnly) && file.write(files[i]) == files[i].size()));
    }
    PageImporter importer(book.path(), kPage);
    Lines lines;
    QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); // none of the decoders' English
    const mode_t before = ::umask(mode_t(umask));
    importer.addAll(paths, lines);
    ::umask(before);
    QCOMPARE(pagesIn(book.path()), pages);
    for (const QString& page : pages) {
        QFile file(book.filePath(QStringLiteral("dibujos/") + page));
        struct stat info {};
        QVERIFY(file.open(QIODevice::ReadOnly) && ::fstat(file.handle(), &info) == 0);
        if (existing.contains(page.section(u'.', 0, 0).toInt()))
            QCOMPARE(file.readAll(), QByteArray("mine")); // never touched
        else
            QCOMPARE(int(info.st_mode & 0777), 0666 & ~umask);
    }
    for (const QString& part : said)
        QVERIFY2(lines.text.contains(part), qPrintable(lines.text));
}

// 300 × 225 points are 400 × 300 CSS pixels, the drawing's own units: a box
// drawn up to 390 of them is all on the page.
void PageImporterTest::svgKeepsItsOwnUnits()
{
    QTemporaryDir book;
    QFile file(book.filePath(QStringLiteral("caja.svg")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<svg xmlns='http://www.w3.org/2000/svg' width='300pt' height='225pt'><rect x='10' "
        "y='100' width='380' height='100' fill='none' stroke='black' stroke-width='4'/></svg>");
    file.close();
    PageImporter importer(book.path(), QSize(400, 300));
    Lines lines;
    QVERIFY2(importer.addAll({file.fileName()}, lines), qPrintable(lines.text));
    const QImage page(book.filePath(QStringLiteral("dibujos/1.gif")));
    QCOMPARE(page.size(), QSize(400, 300));
    QCOMPARE(qGray(page.pixel(390, 150)), 0); // the box's right side
}

QTEST_GUILESS_MAIN(PageImporterTest)
#include "PageImporterTest.moc"
