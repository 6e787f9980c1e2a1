#include "core/book/PictureLoader.h"
#include "core/book/BookFolder.h"
#include "core/book/Failure.h"

#include <QtEndian>
#include <QtTest>

namespace {

// A 1 × 1 white GIF with a graphic-control extension, built by hand.
const QByteArray kGif = QByteArray::fromHex("474946383961010001008000"
                                            "00ffffff000000"
                                            "21f90401000000"
                                            "00"
                                            "2c000000000100010000"
                                            "02024401"
                                            "00"
                                            "3b");

QByteArray bmpClaiming(qint32 width, qint32 height)
{
    QByteArray header(54, '\0');
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<qint32>(54, header.data() + 10);
    qToLittleEndian<qint32>(40, header.data() + 14);
    qToLittleEndian<qint32>(width, header.data() + 18);
    qToLittleEndian<qint32>(height, header.data() + 22);
    qToLittleEndian<quint16>(1, header.data() + 26);
    qToLittleEndian<quint16>(24, header.data() + 28);
    return header;
}

} // namespace

class PictureLoaderTest : public QObject {
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
    void everyCutOfAGifIsRefused();
    void gifWithoutTrailerLoads();
    void transparentPartsAreWhite();
};

void PictureLoaderTest::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "vacío";
    QTest::newRow("random bytes") << QByteArray("\x13\x37 not a picture at all", 22) << "dañado";
    QTest::newRow("BMP claiming 60000 square") << bmpClaiming(60000, 60000) << "demasiado grande";
    QTest::newRow("BMP claiming upside-down huge")
        << bmpClaiming(60000, -60000) << "demasiado grande";
    QTest::newRow("GIF header only") << kGif.left(13) << "incompleto";
    QTest::newRow("BMP missing its last rows")
        << bmpClaiming(4, 4) + QByteArray(12 * 3, '\0') << "incompleto";
}

void PictureLoaderTest::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    BookFolder book;
    book.write("dibujos/1.gif", content);
    try {
        PictureLoader::load(book.drawing("1.gif"));
        QFAIL("the picture must be refused");
    } catch (const Failure& failure) {
        QVERIFY2(failure.reason().contains(reason), qPrintable(failure.reason()));
        QCOMPARE(failure.file(), book.drawing("1.gif"));
        QVERIFY(failure.message().contains("1.gif"));
    }
}

void PictureLoaderTest::everyCutOfAGifIsRefused()
{
    BookFolder book;
    // Everything short of the end of the picture data is incomplete.
    for (qsizetype length = 1; length < kGif.size() - 1; ++length) {
        book.write("dibujos/1.gif", kGif.left(length));
        QVERIFY_THROWS_EXCEPTION(Failure, PictureLoader::load(book.drawing("1.gif")));
    }
    book.write("dibujos/1.gif", kGif);
    const QImage image = PictureLoader::load(book.drawing("1.gif"));
    QCOMPARE(image.size(), QSize(1, 1));
    QCOMPARE(image.format(), QImage::Format_RGB32);
}

void PictureLoaderTest::gifWithoutTrailerLoads()
{
    BookFolder book;
    book.write("dibujos/1.gif", kGif.chopped(1));
    QCOMPARE(PictureLoader::load(book.drawing("1.gif")).pixel(0, 0), qRgb(255, 255, 255));
}

void PictureLoaderTest::transparentPartsAreWhite()
{
    // 2 × 1: a black pixel, then palette entry 1 (magenta), marked transparent.
    const QByteArray gif = QByteArray::fromHex("474946383961020001008000"
                                               "00000000ff00ff"
                                               "21f9040100000100"
                                               "2c000000000200010000"
                                               "0202440a00"
                                               "3b");
    BookFolder book;
    book.write("dibujos/1.gif", gif);
    const QImage image = PictureLoader::load(book.drawing("1.gif"));
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(1, 0), qRgb(255, 255, 255));
}

QTEST_GUILESS_MAIN(PictureLoaderTest)
#include "PictureLoaderTest.moc"
