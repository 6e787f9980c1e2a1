#include "core/folders/AppFolders.h"
#include "core/book/Failure.h"

#include <QtTest>
#include <thread>

// Where the program's files and the child's book are found, in a throw-away
// tree: prefix/bin holds the executable, prefix/share/tintaro is installed,
// user/data is the user's data folder and usb a book named on the command line.
class AppFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void resolve_data();
    void resolve();
    void twoFirstStartsAtOnce();
};

void AppFoldersTest::resolve_data()
{
    QTest::addColumn<QStringList>("tree"); // files made first; a trailing '/' makes a folder
    QTest::addColumn<QString>("bookOption");
    QTest::addColumn<QString>("data"); // empty when an error is due
    QTest::addColumn<QString>("book"); // or words of the error
    QTest::addColumn<QStringList>("userBook");

    const QString bin = "prefix/bin", share = "prefix/share/tintaro";
    const QStringList installed{share + "/dibujos/1.gif", share + "/dibujos/2.gif", "usb/dibujos/"};
    const QStringList none;
    QTest::newRow("portable") << installed + QStringList{bin + "/dibujos/"} << "" << bin << bin
                              << none;
    QTest::newRow("nothing installed stays portable")
        << QStringList{bin + "/"} << "" << bin << bin << none;
    QTest::newRow("first start copies the sample")
        << installed << "" << share << "user" << QStringList{"1.gif", "2.gif"};
    QTest::newRow("user's book is kept") << installed + QStringList{"user/data/dibujos/9.gif"} << ""
                                         << share << "user" << QStringList{"9.gif"};
    QTest::newRow("--book") << installed << "usb" << share << "usb" << none;
    QTest::newRow("--book missing") << installed << "stick"
                                    << ""
                                    << "No encuentro" << none;
    QTest::newRow("--book is a file") << installed + QStringList{"stick"} << "stick"
                                      << ""
                                      << "es un archivo" << none;
    QTest::newRow("--book without dibujos") << installed + QStringList{"stick/"} << "stick"
                                            << ""
                                            << "no tiene la carpeta" << none;
    QTest::newRow("user folder unusable") << installed + QStringList{"user"} << ""
                                          << ""
                                          << "No puedo crear" << none;
}

void AppFoldersTest::resolve()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, bookOption);
    QFETCH(QString, data);
    QFETCH(QString, book);
    QFETCH(QStringList, userBook);

    QTemporaryDir root;
    const QString r = root.path() + '/';
    for (const QString& path : tree) {
        QDir().mkpath(QFileInfo(r + path).path());
        QFile file(r + path);
        QVERIFY(path.endsWith('/') ||
                (file.open(QIODevice::WriteOnly) && file.write(path.toUtf8())));
    }
    // Installed files are read-only; the child's copies must not be.
    QFile::setPermissions(r + "prefix/share/tintaro/dibujos/1.gif", QFileDevice::ReadOwner);

    AppFolders::Places places{r + "prefix/bin", "../share/tintaro", r + "user/data",
                              bookOption.isEmpty() ? QString() : r + bookOption};
    try {
        const AppFolders folders = AppFolders::resolve(places);
        QVERIFY2(!data.isEmpty(), "resolved where an error was due");
        QCOMPARE(folders.data(), r + data);
        QCOMPARE(folders.book(), book == "user" ? places.userDataFolder : r + book);
        QCOMPARE(folders.mode() == AppFolders::Mode::Installed, data.startsWith("prefix/share"));
    } catch (const Failure& failure) {
        QVERIFY2(data.isEmpty() && failure.reason().contains(book), qPrintable(failure.message()));
    }
    const QString copies = places.userDataFolder + "/dibujos/";
    // Whole, writable, and nothing else left behind.
    QCOMPARE(QDir(copies).entryList(QDir::Files), userBook);
    QCOMPARE(QDir(places.userDataFolder)
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             userBook.isEmpty() ? QStringList() : QStringList{"dibujos"});
    for (const QString& name : userBook) {
        QFile copy(copies + name);
        QVERIFY(copy.permissions() & QFileDevice::WriteOwner);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(copy.readAll().endsWith(name.toUtf8()));
    }
}

// Both starts open the one book the first of them made, whole.
void AppFoldersTest::twoFirstStartsAtOnce()
{
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir root;
        const QString sample = root.path() + "/prefix/share/tintaro/dibujos/";
        QVERIFY(QDir().mkpath(sample) && QDir().mkpath(root.path() + "/prefix/bin"));
        for (int page = 1; page <= 100; ++page) {
            QFile drawing(sample + QString::number(page) + ".gif");
            QVERIFY(drawing.open(QIODevice::WriteOnly) && drawing.write(QByteArray(512, 'x')));
        }
        const AppFolders::Places places{
            root.path() + "/prefix/bin", "../share/tintaro", root.path() + "/user", {}};
        QString errors[2];
        const auto start = [&](int i) {
            try {
                AppFolders::resolve(places);
            } catch (const Failure& failure) {
                errors[i] = failure.message();
            }
        };
        std::thread second(start, 1);
        start(0);
        second.join();
        QVERIFY2(errors[0].isEmpty() && errors[1].isEmpty(), qPrintable(errors[0] + errors[1]));
        QCOMPARE(QDir(places.userDataFolder + "/dibujos").entryList(QDir::Files).size(), 100);
    }
}

QTEST_GUILESS_MAIN(AppFoldersTest)
#include "AppFoldersTest.moc"
