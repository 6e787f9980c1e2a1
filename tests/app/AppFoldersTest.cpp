#include "app/AppFolders.h"
#include "book/Failure.h"

#include <QtTest>

// Where the program's files and the child's book are found, in a throw-away
// tree: <root>/prefix/bin beside the executable, <root>/prefix/share/tintaro
// as installed, <root>/user as the user's data folder, <root>/usb as a book
// named on the command line.
class AppFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void resolve_data();
    void resolve();
};

namespace {

void makeFile(const QString& path, const QByteArray& contents = "GIF89a")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

void AppFoldersTest::resolve_data()
{
    // Letters in `tree`: b = `dibujos` beside the executable, i = installed
    // sample book, u = a user's book already made, f = the user's data folder
    // lies under a file, k = a file where --book points, e = --book folder
    // without `dibujos`.
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("bookOption");
    QTest::addColumn<QString>("data"); // relative to the root; empty: an error
    QTest::addColumn<QString>("book"); // or the error's words
    QTest::addColumn<QStringList>("userBook");

    const QString bin = QStringLiteral("prefix/bin");
    const QString share = QStringLiteral("prefix/share/tintaro");
    const QStringList none;
    const QStringList sample{"1.gif", "2.gif"};
    QTest::newRow("portable") << "bi"
                              << "" << bin << bin << none;
    QTest::newRow("nothing installed stays portable") << ""
                                                      << "" << bin << bin << none;
    QTest::newRow("first start copies the sample") << "i"
                                                   << "" << share << "user" << sample;
    QTest::newRow("user's book is kept") << "iu"
                                         << "" << share << "user" << QStringList{"9.gif"};
    QTest::newRow("--book when portable") << "bi"
                                          << "usb" << bin << "usb" << none;
    QTest::newRow("--book when installed") << "i"
                                           << "usb" << share << "usb" << none;
    QTest::newRow("--book missing") << "i"
                                    << "nowhere"
                                    << ""
                                    << "No encuentro" << none;
    QTest::newRow("--book is a file") << "ik"
                                      << "usb"
                                      << ""
                                      << "es un archivo" << none;
    QTest::newRow("--book without dibujos") << "ie"
                                            << "usb"
                                            << ""
                                            << "no tiene la carpeta" << none;
    QTest::newRow("user folder unusable") << "if"
                                          << ""
                                          << ""
                                          << "No puedo crear" << none;
}

void AppFoldersTest::resolve()
{
    QFETCH(QString, tree);
    QFETCH(QString, bookOption);
    QFETCH(QString, data);
    QFETCH(QString, book);
    QFETCH(QStringList, userBook);

    QTemporaryDir root;
    const QString r = root.path() + QLatin1Char('/');
    QDir().mkpath(r + "prefix/bin");
    if (tree.contains('b'))
        QDir().mkpath(r + "prefix/bin/dibujos");
    if (tree.contains('i')) {
        makeFile(r + "prefix/share/tintaro/dibujos/1.gif", "page one");
        makeFile(r + "prefix/share/tintaro/dibujos/2.gif");
        QFile::setPermissions(r + "prefix/share/tintaro/dibujos/1.gif", QFileDevice::ReadOwner);
    }
    if (tree.contains('u'))
        makeFile(r + "user/dibujos/9.gif");
    if (tree.contains('k'))
        makeFile(r + "usb");
    else if (!tree.contains('e'))
        makeFile(r + "usb/dibujos/1.gif");
    if (tree.contains('e'))
        QDir().mkpath(r + "usb");
    if (tree.contains('f'))
        makeFile(r + "file");

    AppFolders::Places places;
    places.executableFolder = r + "prefix/bin";
    places.dataFromExecutable = QStringLiteral("../share/tintaro");
    places.userDataFolder = r + (tree.contains('f') ? "file/user" : "user");
    places.bookOption = bookOption.isEmpty() ? QString() : r + bookOption;

    try {
        const AppFolders folders = AppFolders::resolve(places);
        QVERIFY2(!data.isEmpty(), "resolved where an error was due");
        QCOMPARE(folders.data(), r + data);
        QCOMPARE(folders.book(), r + book);
        QCOMPARE(folders.mode() == AppFolders::Mode::Installed, data.startsWith("prefix/share"));
    } catch (const Failure& failure) {
        QVERIFY2(data.isEmpty(), qPrintable(failure.message()));
        QVERIFY2(failure.reason().contains(book), qPrintable(failure.reason()));
    }
    // The copy is whole, writable, and leaves nothing else behind.
    QCOMPARE(entries(r + "user/dibujos"), userBook);
    if (!userBook.isEmpty())
        QCOMPARE(entries(r + "user"), QStringList{"dibujos"});
    if (userBook == QStringList{"1.gif", "2.gif"}) {
        QFile copy(r + "user/dibujos/1.gif");
        QVERIFY(copy.permissions() & QFileDevice::WriteOwner);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("page one"));
    }
}

QTEST_GUILESS_MAIN(AppFoldersTest)
#include "AppFoldersTest.moc"
