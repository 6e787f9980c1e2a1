#include "core/book/PageFiles.h"
#include "core/book/BookFolder.h"
#include "core/book/PageBook.h"

#include <QtTest>

class PageFilesTest : public QObject {
    Q_OBJECT
private slots:
    void pagePaths_data();
    void pagePaths();
    void lookUps_data();
    void lookUps();
    void switchLine_data();
    void switchLine();
    void switchFile_data();
    void switchFile();
};

void PageFilesTest::pagePaths_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7") << 7 << ".gif"
                       << "/p/dibujos/7.gif";
    QTest::newRow("10 never 010") << 10 << ".bmp"
                                  << "/p/dibujos/10.bmp";
    QTest::newRow("12") << 12 << ".gif"
                        << "/p/dibujos/12.gif";
}

void PageFilesTest::pagePaths()
{
    QFETCH(int, page);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(pageFilePath("/p", page, extension), expected);
}

void PageFilesTest::lookUps_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("anyMatch");
    QTest::addColumn<bool>("exactName");
    QTest::newRow("exact") << QStringList{"3.gif"} << "3.gif"
                           << "3.gif" << true << true;
    if (BookFolder::namesAreCaseSensitive()) {
        QTest::newRow("capitals count as present") << QStringList{"3.GIF"} << "3.gif"
                                                   << "3.GIF" << true << false;
        QTest::newRow("3.BMP is no copy") << QStringList{"3.BMP"} << "3.bmp"
                                          << "3.BMP" << true << false;
    }
    QTest::newRow("exact spelling wins") << QStringList{"3.GIF", "3.gif"} << "3.gif"
                                         << "3.gif" << true << true;
    QTest::newRow("absent") << QStringList{"4.gif"} << "3.gif"
                            << "" << false << false;
    QTest::newRow("hidden is not found") << QStringList{".3.gif"} << ".3.gif"
                                         << "" << false << false;
    QTest::newRow("folder is not found") << QStringList{"3.gif/"} << "3.gif"
                                         << "" << false << false;
}

void PageFilesTest::lookUps()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QFETCH(bool, anyMatch);
    QFETCH(bool, exactName);
    BookFolder book;
    for (const QString& name : stored) {
        if (name.endsWith('/'))
            QDir(book.path() + "/dibujos").mkdir(name.chopped(1));
        else
            book.addPicture(name, qRgb(1, 2, 3));
    }
    const QString path = book.drawing(asked);
    QCOMPARE(lookUpFileName(path), found);
    QCOMPARE(passesAnyMatchTest(path), anyMatch);
    QCOMPARE(passesExactNameTest(path), exactName);
}

void PageFilesTest::switchLine_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("keeps");
    QTest::newRow("NO") << QByteArray("NO") << true;
    QTest::newRow("no CRLF") << QByteArray("no\r\nmore") << true;
    QTest::newRow("No CR") << QByteArray("No\rx") << true;
    QTest::newRow("no LF") << QByteArray("no\nmore") << true;
    QTest::newRow("byte-order mark, NO LF") << QByteArray("\xEF\xBB\xBFNO\n") << true;
    QTest::newRow("byte-order mark, nO CRLF") << QByteArray("\xEF\xBB\xBFnO\r\n") << true;
    QTest::newRow("byte-order mark twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFNO") << false;
    QTest::newRow("half a byte-order mark") << QByteArray("\xEF\xBBNO") << false;
    QTest::newRow("NO and a blank") << QByteArray("NO \n") << false;
    QTest::newRow("blank then no") << QByteArray(" no") << false;
    QTest::newRow("NO.") << QByteArray("NO.") << false;
    QTest::newRow("Si") << QByteArray("Si\r\n") << false;
    QTest::newRow("empty line") << QByteArray("\nNO") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void PageFilesTest::switchLine()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, keeps);
    QCOMPARE(switchKeepsCopies(firstLineOf(content)), keeps);
    BookFolder book;
    book.write("borra.txt", content);
    QCOMPARE(switchKeepsCopies(readSwitchLine(book.path())), keeps);
}

void PageFilesTest::switchFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keeps");
    QTest::newRow("borra.txt") << "borra.txt" << true;
    if (BookFolder::namesAreCaseSensitive()) {
        QTest::newRow("BORRA.TXT counts as absent") << "BORRA.TXT" << false;
        QTest::newRow("Borra.txt counts as absent") << "Borra.txt" << false;
    }
}

void PageFilesTest::switchFile()
{
    QFETCH(QString, name);
    QFETCH(bool, keeps);
    BookFolder book;
    book.write(name, "NO");
    QCOMPARE(switchKeepsCopies(readSwitchLine(book.path())), keeps);
}

QTEST_GUILESS_MAIN(PageFilesTest)
#include "PageFilesTest.moc"
