#include "core/folders/BookLock.h"

#include <QtTest>
#include <cstdio>

// A book's lock against another program's: a running one blocks; a killed one
// or one on another computer does not; a book folder that takes no lock file
// moves the lock elsewhere, and the rule with it.
class BookLockTest : public QObject {
    Q_OBJECT
private slots:
    void anotherProgramsLock_data();
    void anotherProgramsLock();

private:
    QTemporaryDir m_runtime;
};

enum Holder { NoHolder, Running, Killed, OtherComputer };

void BookLockTest::anotherProgramsLock_data()
{
    QTest::addColumn<int>("holder");
    QTest::addColumn<bool>("folderTakesNoLock");
    QTest::addColumn<bool>("taken");
    QTest::newRow("running program") << int(Running) << false << false;
    QTest::newRow("killed program") << int(Killed) << false << true;
    QTest::newRow("program on another computer") << int(OtherComputer) << false << true;
    QTest::newRow("no lock in the folder, running program") << int(Running) << true << false;
    QTest::newRow("no lock in the folder, no program") << int(NoHolder) << true << true;
}

void BookLockTest::anotherProgramsLock()
{
    QFETCH(int, holder);
    QFETCH(bool, folderTakesNoLock);
    QFETCH(bool, taken);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    QTemporaryDir book;
    QVERIFY(QDir(book.path()).mkdir("dibujos"));
    QVERIFY(!folderTakesNoLock || QDir(book.path()).mkdir(".tintaro.lock"));
    QFile record(book.filePath(".tintaro.lock"));
    if (holder == OtherComputer)
        QVERIFY(record.open(QIODevice::WriteOnly) &&
                record.write(QByteArray::number(QCoreApplication::applicationPid()) +
                             "\nbook_lock_test\notro-ordenador\n") > 0);
    record.close();
    QProcess other;
    if (holder == Running || holder == Killed) {
        other.start(QCoreApplication::applicationFilePath(), {"--hold", book.path()});
        QVERIFY(other.waitForReadyRead(10000) && other.readAll().trimmed() == "held");
    }
    if (holder == Killed) {
        other.kill();
        QVERIFY(other.waitForFinished());
    }
    // The same book by another path.
    QCOMPARE(BookLock(book.path() + "/dibujos/..").take(), taken);
    other.kill();
    other.waitForFinished();
}

// Run as `book_lock_test --hold BOOK`, it holds the book until it is killed.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0) {
        BookLock lock(QString::fromLocal8Bit(argv[2]));
        std::puts(lock.take() ? "held" : "refused");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    BookLockTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BookLockTest.moc"
